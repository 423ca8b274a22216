// The HTTP form sites of the big shareware directories: tucows, win95, bit32, kellcent, wincent,
// download, shareware95, slaughterhouse. Most are labelled with their domain name, which the
// catalogue holds ("{label}").
#include "submit/FormRecipe.h"

using namespace recipe;

namespace {

// A literal whose whole text (keys, "=" and "&" included) comes from a mapping row.
FormField mappedLiteral(const Mapping& m)
{
    return {"", {mapped(m)}, false, nullptr, nullptr, true};
}

const Mapping kTucowsLicense{"status",
    {
        {"Feature Limit Demo", "Demo"},
        {"Time Limit Demo", "Demo"},
        {"Public Domain", "Freeware"},
        {"Freeware", "Freeware"},
        {"Shareware", "Shareware"},
        {"Beta", "Other"},
    }};

// The value holds a bare "&"; it goes out unchanged like every value.
const Mapping kWin95Platform{"platforms",
    {
        {"Windows 95", "Win95 Only"},
        {"Windows NT", "Win NT Only"},
        {"Windows 95 and NT", "Both Win95 & NT"},
    }};

const Mapping kWin95Status{"status",
    {
        {"Feature Limit Demo", "Commercial Demo"},
        {"Time Limit Demo", "Commercial Demo"},
        {"Public Domain", "Freeware"},
        {"Freeware", "Freeware"},
        {"Shareware", "Shareware"},
        {"Beta", "Shareware"},
    }};

const Mapping kKellcentProdtype{"status",
    {
        {"Feature Limit Demo", "Feature Limit Demo"},
        {"Time Limit Demo", "Time Limit Demo"},
        {"Public Domain", "Public Domain"},
        {"Freeware", "Freeware"},
        {"Shareware", "Shareware"},
        {"Beta", "Prerelease"},
    }};

// One or more fields per platform, in the site's own order.
const Mapping kKellcentPlatforms{"platforms",
    {
        {"Windows 3.x", "run3x=yes&"},
        {"Windows 95", "run95=yes&"},
        {"Windows NT", "runnt35=yes&runnt40=yes&"},
        {"Windows 95 and NT", "runnt40=yes&runnt35=yes&runnt95=yes&"},
    }};

const Mapping kWincentOs{"platforms",
    {
        {"Windows 95", "W95"},
        {"Windows NT", "WNT"},
        {"Windows 95 and NT", "95NT"},
    }};

// "Freeware" keeps the leading space the site has always been sent.
const Mapping kWincentType{"status",
    {
        {"Feature Limit Demo", "DE"},
        {"Time Limit Demo", "DE"},
        {"Beta", "DE"},
        {"Public Domain", "FW"},
        {"Freeware", " FW"},
        {"Shareware", "SW"},
    }};

const Mapping kDownloadLicense{"status",
    {
        {"Feature Limit Demo", "Demo"},
        {"Time Limit Demo", "Demo"},
        {"Beta", "Demo"},
        {"Public Domain", "Free"},
        {"Freeware", " Free"},
        {"Shareware", "Shareware"},
    }};

const Mapping kShareware95Status{"status",
    {
        {"Feature Limit Demo", " Commercial Demo "},
        {"Time Limit Demo", " Commercial Demo "},
        {"Public Domain", " Freeware "},
        {"Freeware", " Freeware "},
        {"Shareware", " Shareware "},
        {"Beta", " Shareware "},
    }};

const Mapping kSlaughterhouseStatus{"status",
    {
        {"Feature Limit Demo", "Crippleware"},
        {"Time Limit Demo", "Nagware"},
        {"Public Domain", "Freeeware"},
        {"Freeware", "Freeeware"},
        {"Shareware", "Shareware"},
        {"Beta", "Shareware"},
    }};

} // namespace

const std::vector<FormRecipe>& directoryFormSites()
{
    static const std::vector<FormRecipe> recipes{
        {
            // Its upload comes first: TucowsSite.
            .entry = "tucows",
            .script = {text("/cgi-bin/request2.pl")},
            .texts = {.label = "TuCows",
                .preparing = "Preparing to Post to Tucows",
                .posting = "Posting Data to Tucows",
                .posted = "Posted on Tucows",
                .redirected = "Posted to Tucows",
                .completedLog = "Tucows: Completed HTTP Post",
                .redirectedLog = "Tucows: Completed HTTP Post",
                .errorLog = "Tucows: Error Posting - "},
            .newClearsUpdate = true,
            .fields = {
                field("uname", {control("conname")}),
                field("e-mail", {control("conmail")}),
                field("sys", {text("Windows 95")}),
                ticked("tucowsnewcb", "sub", {text("New Listing")}),
                ticked("tucowscb", "sub", {text("Update of an Existing Listing")}),
                field("suggest", {control("tucowspd")}),
                field("desc", {control("appname")}),
                field("number", {control("version")}),
                field("when", {control("month"), text("/"), control("day"), text("/"), control("year")}),
                field("bytesize", {control("bytesize")}),
                field("location", {control("dl1")}),
                field("www", {control("appurl")}),
                field("evaluation", {control("eval")}),
                mappedField("license", kTucowsLicense),
                lastField("comments", {control("longdesc")}),
            },
        },
        {
            // Its platform rule comes first: Win95Site.
            .entry = "win95",
            .script = {text("/cgi-bin/mailto.pl")},
            .texts = {.label = "{label}", .debugEcho = true},
            .newClearsUpdate = true,
            .fields = {
                field("body", {text("New Shareware Submission")}),
                field("to", {mailbox()}),
                field("from", {control("conmail")}),
                field("nexturl", {page()}),
                field("name", {control("conname")}),
                ticked("win95newcb", "sub", {text("This is a NEW Listing!")}),
                ticked("win95cb", "sub", {text("This is an UPDATE of an EXISTING Listing!")}),
                field("Download URL", {control("dl1")}),
                field("Section Name", {control("win95pd")}),
                field("version", {control("version")}),
                field("filedate", {control("day"), text("-"), control("month"), text("-"), control("year")}),
                field("version", {control("version")}),
                field("size", {sizeKB()}),
                mappedField("platform", kWin95Platform),
                field("Home Page", {control("appurl")}),
                mappedField("Status", kWin95Status),
                field("price", {text("$"), control("price")}),
                field("expon", {control("expiredate")}),
                field("expin", {control("expireafter")}),
                field("Install", {control("installer")}),
                field("authorname", {control("conname")}),
                field("authormail", {control("conmail")}),
                lastField("Description", {control("longdesc")}),
            },
        },
        {
            .entry = "bit32.new",
            .script = {text("/software/url_add.phtml")},
            .texts = {.label = "{label}", .preparing = "Preparing to post to {label}"},
            .newClearsUpdate = true,
            .fields = {
                field("url", {control("dl1")}),
                field("name", {control("appname")}),
                field("version", {control("version")}),
                field("size", {sizeKB()}),
                field("secondurl", {control("dl2")}),
                field("secondname", {control("appname")}),
                field("thirdurl", {control("dl3")}),
                field("thirdname", {control("appname")}),
                field("fourthurl", {control("dl4")}),
                field("fourthname", {control("appname")}),
                field("homepageurl", {control("appurl")}),
                field("description", {control("longdesc")}),
                field("icon", {}),
                field("category", {text("New Submissions")}),
                lastField("versionDate", {timeNow()}),
            },
        },
        {
            .entry = "kellcent",
            .script = {text("/cgi-bin/submail.pl")},
            .texts = {.label = "{label}",
                .preparing = "Preparing to post to {label}",
                .redirected = "Posted to Kell Central",
                .redirectedLog = "Kell Central: Completed HTTP Post",
                .errorLog = "Kell Central: Error Posting - "},
            .newClearsUpdate = true,
            .fields = {
                ticked("kellcentnewcb", "subtype", {text("new")}),
                ticked("kccb", "subtype", {text("update")}),
                field("name", {control("conname")}),
                field("category", {control("kcpd")}),
                field("product", {control("appname")}),
                field("homeurl", {control("appurl")}),
                field("location32", {control("dl1")}),
                field("size32", {control("bytesize"), text(" bytes")}),
                field("price", {control("price")}),
                field("version", {control("version")}),
                field("comments", {control("longdesc")}),
                mappedField("prodtype", kKellcentProdtype),
                mappedLiteral(kKellcentPlatforms),
                field("publisher", {control("compname")}),
                field("publisherhome", {control("pubpage")}),
                field("name", {control("conname")}),
                lastField("email", {control("conmail")}),
            },
        },
        {
            .entry = "wincent.new",
            .script = {text("/software/submit/add.cgi")},
            .texts = {.label = "{label}",
                .preparing = "Preparing to post to {label}",
                .errorLog = "Windows Central: Error Posting - "},
            .newClearsUpdate = true,
            .fields = {
                field("acontact", {control("conmail")}),
                field("aname", {control("compname")}),
                field("award", {}),
                field("cap1", {}),
                field("cap2", {}),
                field("category", {control("wincentpd")}),
                field("date", {timeNow()}),
                field("desc", {control("longdesc")}),
                field("dl1cap", {}),
                field("dl1size", {sizeKB(), text(" KB")}),
                field("dl1url", {control("dl1")}),
                field("dl2cap", {}),
                field("dl2size", {sizeKB(), text(" KB")}),
                field("dl2url", {control("dl2")}),
                field("newsw", {}),
                mappedField("os", kWincentOs),
                field("rating", {}),
                field("sname", {control("appname")}),
                field("subcat", {control("wcsubcat")}),
                field("tname", {}),
                mappedField("type", kWincentType),
                field("urlhome", {control("appurl")}),
                lastField("urlshots", {control("screenshot")}),
            },
        },
        {
            // Labelled with its owner's name; the texts use the domain name alone ("{short}").
            .entry = "download",
            .script = {text("/PC/Help/Registry/1,45,0,00.html")},
            .texts = {.label = "{label}",
                .preparing = "Preparing to post to {short}",
                .posting = "Posting to {short}",
                .posted = "",
                .redirected = "Posted to {short}",
                .completedLog = "{short}: Completed HTTP Post",
                .redirectedLog = "{short}: Completed HTTP Post",
                .errorLog = "{short}: Error Posting - ",
                .debugEcho = true},
            .newClearsUpdate = true,
            .fields = {
                field("title", {control("appname")}),
                field("version", {control("version")}),
                field("category", {control("dlcat")}),
                ticked("downloadnewcb", "status", {text("New Entry")}),
                ticked("downloadcb", "status", {text("Updated Entry")}),
                field("urls", {control("dl1")}),
                field("size", {control("bytesize")}),
                field("expire", {control("expiredate")}),
                field("publisher", {control("compname")}),
                field("email", {control("pubmail")}),
                field("pubUrl", {control("pubpage")}),
                field("desc", {control("longdesc")}),
                mappedField("license", kDownloadLicense),
                field("os", {text("Windows")}),
                lastField("submit", {text("submit")}),
            },
        },
        {
            .entry = "shareware95",
            .script = {text("/cgi-local/FormMail.cgi")},
            .texts = {.label = "{label}", .posting = "Posting Data to {label}", .posted = "Posted on {label}"},
            .newClearsUpdate = true,
            .fields = {
                field("name", {control("conname")}),
                field("email", {control("conmail")}),
                ticked("sharewarenewcb", "type", {text(" This is a NEW Listing ")}),
                ticked("shareware95cb", "type", {text(" This is an UPDATE of an EXISTING Listing ")}),
                field("appname", {control("appname")}),
                field("file-url", {control("dl1")}),
                field("homepage-url", {control("appurl")}),
                field("version", {control("version")}),
                field("size", {sizeKB()}),
                field("category", {control("shareware95pd")}),
                mappedField("status", kShareware95Status),
                field("fee", {control("price")}),
                lastField("Description", {control("longdesc")}),
            },
        },
        {
            // Both "sub" fields go out when both boxes are set: the site takes them together.
            .entry = "slaughterhouse",
            .script = {text("/cgi-bin/submail.pl")},
            .texts = {.label = "Slaughterhouse",
                .preparing = "Preparing to Post to Slaghterhouse",
                .posting = "Posting Data to Slaughterhouse"},
            .fields = {
                field("name", {control("conname")}),
                field("from", {control("conmail")}),
                ticked("slaughnewcb", "sub", {text(" New listing ")}),
                ticked("Slaughterhousecb", "sub", {text(" Update current Listing ")}),
                field("appname", {control("appname")}),
                field("fileurl", {control("dl1")}),
                field("homepage", {control("appurl")}),
                field("version", {control("version")}),
                field("date", {control("month"), text("/"), control("day"), text("/"), control("year")}),
                field("size", {sizeKB(), text("K")}),
                mappedField("status", kSlaughterhouseStatus),
                field("fee", {control("price")}),
                lastField("description", {control("longdesc")}),
            },
        },
    };
    return recipes;
}
