// The HTTP form sites whose form takes the listing without a category of theirs: essen, sharein,
// warehouse, lg.
#include "submit/FormRecipe.h"

using namespace recipe;

namespace {

const Mapping kShareinLicence{"status",
    {
        {"Feature Limit Demo", "Commercial demo"},
        {"Time Limit Demo", "Commercial demo"},
        {"Public Domain", "Freeware"},
        {"Freeware", "Freeware"},
        {"Shareware", "Shareware"},
        {"Beta", "Shareware"},
    }};

} // namespace

const std::vector<FormRecipe>& plainFormSites()
{
    static const std::vector<FormRecipe> recipes{
        {
            .entry = "essen",
            .script = {text("/cgi-bin/cgiwrap/ashmoor/suggest_shareware.pl")},
            // A redirect answer and a failure name the site without its "The".
            .texts = {.label = "The Essential Shareware Pages",
                .posting = "Posting Data to The Essential Shareware Pages",
                .redirected = "Posted to Essential Shareware Pages",
                .redirectedLog = "Essential Shareware Pages: Completed HTTP Post",
                .errorLog = "Essential Shareware Pages: Error Posting - ",
                .debugEcho = true},
            .fields = {
                field("body", {text("Suggested Software for The Essential Shareware")}),
                field("from", {mailbox()}),
                field("sub", {text("TES Suggestion")}),
                field("to", {mailbox2()}),
                field("Platform", {text("Windows 95/NT (32-bit) ")}),
                field("Software Title", {control("appname")}),
                field("Software URL", {control("appurl")}),
                field("Description", {control("longdesc")}),
                field("Suggestors Name", {control("conname")}),
                lastField("Suggestors Email", {control("conmail")}),
            },
        },
        {
            .entry = "sharein",
            .script = {text("/cgi-bin/form_ext?"), mailbox()},
            .texts = {.label = "Shareware Intercom"},
            .newClearsUpdate = true,
            .fields = {
                field("Nombre_autor", {control("conname")}),
                field("Email", {control("conmail")}),
                ticked("shareinnew", "Tipo", {text("New program")}),
                ticked("shareinup", "Tipo", {text("Update existing program")}),
                field("Nombre", {control("appname")}),
                field("Version", {control("version")}),
                mappedField("Licencia", kShareinLicence),
                field("Plataforma", {text("Windows 95")}),
                field("Idioma", {text("English")}),
                field("Pagina", {page()}),
                field("Caduca_fecha", {control("expiredate")}),
                field("Caduca_dias", {control("expireafter")}),
                field("WEB", {control("appurl")}),
                field("SRC", {control("dl1")}),
                lastField("Descripcion", {control("longdesc")}),
            },
        },
        {
            .entry = "warehouse",
            .script = {text("/submit.cgi")},
            .texts = {.label = "Winsock Warehouse", .posting = "Posting Data to Winsock Warehouse"},
            .fields = {
                field("name", {control("conname")}),
                field("email", {control("conmail")}),
                lastField("url", {control("appurl")}),
            },
        },
        {
            .entry = "lg",
            .script = {text("/cgi-bin/formmail.cgi")},
            .texts = {.label = "Lockergnome", .debugEcho = true},
            .fields = {
                field("recipient", {mailbox()}),
                field("redirect", {page()}),
                field("required", {text("email,realname,why")}),
                field("sort", {text("alphabetic")}),
                field("subject", {text("Lockergnome Submission")}),
                field("email", {control("conmail")}),
                field("realname", {control("conname")}),
                field("Name", {control("appname")}),
                field("Version", {control("version")}),
                field("Size", {sizeKB()}),
                field("Download", {control("dl1")}),
                field("Homepage", {control("appurl")}),
                field("Status", {control("status")}),
                field("Price", {control("price")}),
                field("Requirements", {control("platforms")}),
                field("Folder", {text("Program")}),
                field("g", {control("longdesc")}),
                field("k", {control("bytesize"), text(" bytes")}),
                field("E-Mail", {control("conmail")}),
                lastField("why", {control("longdesc")}),
            },
        },
    };
    return recipes;
}
