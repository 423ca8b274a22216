// The HTTP form sites that send a category from a pick list: fking, swjunkie, sharedir, csw, sshak.
#include "submit/FormRecipe.h"

using namespace recipe;

namespace {

// The category also chooses which of the site's form pages receives the post.
const Mapping kSwjunkiePages{"swjunkiepd",
    {
        {"Archive & Compression", "form_sub95_archive.htm"},
        {"Business", "form_sub95_business.htm"},
        {"Clipboard", "form_sub95_clip.htm"},
        {"Database & PIM's", "form_sub95_data.htm"},
        {"Desktop", "form_sub95_desktop.htm"},
        {"Educational", "form_sub95_educ.htm"},
        {"Email", "form_sub95_email.htm"},
        {"Ftp", "form_sub95_ftp.htm"},
        {"Graphics", "form_sub95_graphics.htm"},
        {"Home & Hobby", "form_sub95_home.htm"},
        {"Internet Miscellaneous", "form_sub95_internet.htm"},
        {"Miscellaneous", "form_sub95_misc.htm"},
        {"Multimedia", "form_sub95_multimed.htm"},
        {"PC Games", "form_sub95_pcgames.htm"},
        {"Programming", "form_sub95_program.htm"},
        {"Screensavers", "form_sub95_screen.htm"},
        {"Security", "form_sub95_security.htm"},
        {"Utilities", "form_sub95_utilities.htm"},
        {"Anti-Virus", "form_sub95_virus.htm"},
        {"Webpage Creation & Tools", "form_sub95_html.htm"},
        {"Words & Editors", "form_sub95_words.htm"},
    }};

const Mapping kSharedirProduct{"status",
    {
        {"Feature Limit Demo", "Feature Limited Demo"},
        {"Time Limit Demo", "Time Limited Demo"},
        {"Public Domain", "Public Domain"},
        {"Freeware", "Freeware"},
        {"Shareware", "Shareware"},
        {"Beta", "Beta/Prerelease"},
    }};

const Mapping kSharedirOs{"platforms",
    {
        {"Windows 95", "95"},
        {"Windows NT", "NT4"},
    }};

} // namespace

const std::vector<FormRecipe>& pickListFormSites()
{
    static const std::vector<FormRecipe> recipes{
        {
            .entry = "fking",
            .script = {text("/cgi/FormMail.cgi")},
            .texts = {.label = "File King"},
            .fields = {
                // A fixed head of HTML fragments that the site's mail template interleaves, in key
                // order, with the listing values below.
                field("a", {text("<B><A HREF=")}),
                field("d", {text("</B></A>")}),
                field("e", {text("<BR><B>")}),
                field("f", {text("</B>")}),
                field("g", {text("<BR><BR>")}),
                field("i", {text("<BR><BR>")}),
                field("j", {text("<B>")}),
                field("l", {text("</B>")}),
                field("m", {text("<BR><B>"), text("<A HREF=")}),
                field("o", {text("Home Page</A></B>")}),
                field("p", {text("<HR>")}),
                field("q", {text("<BR>")}),
                field("recipient", {mailbox()}),
                field("redirect", {page()}),
                field("s", {text("Version")}),
                field("subject", {mailbox()}),
                field("os", {text("Win95/NT")}),
                field("b", {control("dl1")}),
                field("c", {control("appname")}),
                field("t", {control("version")}),
                field("h", {control("longdesc")}),
                field("k", {control("bytesize"), text(" bytes")}),
                field("n", {control("appurl")}),
                field("r", {control("fkingpd")}),
                lastField("email", {control("conmail")}),
            },
        },
        {
            .entry = "swjunkie",
            .script = {text("/_vti_bin/shtml.dll/Working/"), mapped(kSwjunkiePages)},
            .texts = {.label = "Shareware Junkies", .debugEcho = true},
            .fields = {
                field("VTI-GROUP", {text("0")}),
                field("Name of the Program", {control("appname")}),
                field("Type of Program", {control("swjunkiepd")}),
                field("Company/Authors Name", {control("compname"), text(" - "), control("conname")}),
                field("Version", {control("version")}),
                field("Price", {control("price")}),
                field("Installed Size", {control("instsize")}),
                field("file name", {control("filename")}),
                field("Where can this program be downloaded? ", {control("dl1")}),
                field("Home page for the program", {control("appurl")}),
                field("Company/Authors Homepage if different", {control("pubpage")}),
                field("Program Description",
                    {control("longdesc"), text("\r\n\r\n"), text("Software submitted with Quillet")}),
                field("Person submitting the program for Review", {control("conname")}),
                field("email", {control("conmail")}),
                ticked("swjunkieup", "Revised Request", {text("ON")}),
                ticked("swjunkienew", "First Request", {text("ON")}),
                lastField("B1", {text("Submit")}),
            },
        },
        {
            .entry = "sharedir",
            .script = {text("/cgi-bin/web552ea/FormMail.pl")},
            .texts = {.label = "Shareware Directory"},
            .fields = {
                field("recipient", {mailbox()}),
                field("redirect", {page()}),
                field("subject", {text("Upload")}),
                ticked("sharedirnew", "Type", {text("NEW UPLOAD")}),
                ticked("sharedirup", "Type", {text("UPDATE")}),
                mappedField("Product", kSharedirProduct),
                field("Shareware Title", {control("appname")}),
                field("Ver", {control("version")}),
                mappedField("OS", kSharedirOs),
                field("Shareware URL", {control("appurl")}),
                field("email", {control("conmail")}),
                field("Screen Shot", {control("screenshot")}),
                field("Download W95", {control("dl1")}),
                field("Size95", {control("bytesize"), text(" bytes")}),
                field("Download WNT 4.0", {control("dl1")}),
                field("SizeWNT 4.0", {control("bytesize"), text(" bytes")}),
                field("Price", {control("price")}),
                field("category1", {control("sharedirpd1")}),
                field("category2", {control("sharedirpd2")}),
                // The site's form has always been sent with an "&" after its last field too.
                field("Description", {control("longdesc")}),
            },
        },
        {
            .entry = "csw",
            .script = {text("/cgi-bin/mailform.cgi")},
            .texts = {.label = "c:\\shareware"},
            .fields = {
                // The form mail goes to the site and a copy to the submitter.
                field("email_form_to", {mailbox(), text(","), control("conmail")}),
                field("email_from", {control("conmail")}),
                field("email_subject", {text("Submit Shareware")}),
                field("email_template_filename", {text("submit.eml")}),
                field("response_filename", {text("promote.html")}),
                ticked("cswnew", "WHICH", {text("New")}),
                ticked("cswup", "WHICH", {text("*** UPDATE ***")}),
                field("COMPANY", {control("compname")}),
                field("EMAIL", {control("conmail")}),
                field("PROG", {control("appname")}),
                field("VER", {control("version")}),
                field("COST", {control("price")}),
                field("DIRECTORY", {control("cswpd")}),
                field("FILE", {control("char8name")}),
                field("SIZE", {sizeKB()}),
                field("FDATE", {control("month"), text("/"), control("day"), text("/"), control("year")}),
                field("HOME", {control("appurl")}),
                field("SCREEN", {control("screenshot")}),
                field("SHORT", {control("shortdesc")}),
                field("LONG", {control("longdesc")}),
                field("DOWN1", {control("dl1")}),
                lastField("DOWN2", {control("dl2")}),
            },
        },
        {
            .entry = "sshak",
            .script = {text("/cgi-bin/links.pl")},
            // A plain success has always shown "Shake"; the redirect text is spelt right.
            .texts = {.label = "Software Shak", .posted = "Posted to Software Shake"},
            .fields = {
                field("recipient", {mailbox(), text(", "), mailbox2()}),
                field("title", {control("appname")}),
                field("url", {control("dl1")}),
                field("description", {control("longdesc")}),
                field("desctitle", {control("compname")}),
                field("descurl", {control("appurl")}),
                // The site's form has always been sent with an "&" after its last field too.
                field("section", {control("sshakpd")}),
            },
        },
    };
    return recipes;
}
