// The HTTP form sites of the second group: essen, sharein, warehouse, lg.
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

const std::vector<FormRecipe>& secondGroupFormSites()
{
    static const std::vector<FormRecipe> recipes{
        {
            "essen",
            {text("/cgi-bin/cgiwrap/ashmoor/suggest_shareware.pl")},
            {"The Essential Shareware Pages", "Preparing to Post to The Essential Shareware Pages",
                "Posting Data to The Essential Shareware Pages", "Posted to The Essential Shareware Pages",
                "Posted to Essential Shareware Pages", "The Essential Shareware Pages: Completed HTTP Post",
                "Essential Shareware Pages: Completed HTTP Post", "Essential Shareware Pages: Error Posting - ", true},
            false,
            {
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
            "sharein",
            {text("/cgi-bin/form_ext?"), mailbox()},
            {"Shareware Intercom", "Preparing to Post to Shareware Intercom", "Posting to Shareware Intercom",
                "Posted to Shareware Intercom", "Posted to Shareware Intercom",
                "Shareware Intercom: Completed HTTP Post", "Shareware Intercom: Completed HTTP Post",
                "Shareware Intercom: Error Posting - ", false},
            true,
            {
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
            "warehouse",
            {text("/submit.cgi")},
            {"Winsock Warehouse", "Preparing to Post to Winsock Warehouse", "Posting Data to Winsock Warehouse",
                "Posted to Winsock Warehouse", "Posted to Winsock Warehouse", "Winsock Warehouse: Completed HTTP Post",
                "Winsock Warehouse: Completed HTTP Post", "Winsock Warehouse: Error Posting - ", false},
            false,
            {
                field("name", {control("conname")}),
                field("email", {control("conmail")}),
                lastField("url", {control("appurl")}),
            },
        },
        {
            "lg",
            {text("/cgi-bin/formmail.cgi")},
            {"Lockergnome", "Preparing to Post to Lockergnome", "Posting to Lockergnome", "Posted to Lockergnome",
                "Posted to Lockergnome", "Lockergnome: Completed HTTP Post", "Lockergnome: Completed HTTP Post",
                "Lockergnome: Error Posting - ", true},
            false,
            {
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
