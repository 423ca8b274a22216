#include "submit/FileMineSite.h"

#include "submit/FileMineCategoryCodes.h"
#include "submit/FormBody.h"

using namespace recipe;

namespace {

const Mapping kAppType{"status",
    {{"Feature Limit Demo", "Crippleware"}, {"Time Limit Demo", "Nagware"}, {"Public Domain", "Freeware"},
        {"Freeware", "Freeware"}, {"Shareware", "Shareware"}, {"Beta", "Shareware"}}};
const Mapping kBeta{"status", {{"Beta", "yes"}, {nullptr, "no"}}};
// The category's code follows "prodcat=" for a known platform, and the description otherwise.
const Mapping kPlatform{"platforms",
    {{"Windows 95", "&platform=4&prodcat="}, {"Windows NT", "&platform=5&prodcat="},
        {"Windows 95 and NT", "&platform=10&prodcat="}}};

std::vector<FormRecipe> makeSites()
{
    // The status keeps its preparing text while the request is under way.
    const HttpTexts texts{.label = "File Mine",
        .preparing = "Preparing to post to FileMine",
        .posting = "Preparing to post to FileMine",
        .posted = "Posted on File Mine",
        .redirected = "Posted to FileMine",
        .completedLog = "File Mine: Completed HTTP GET",
        .redirectedLog = "FileMine: Completed HTTP Post",
        .errorLog = "FileMine: Error Posting - ",
        .debugEcho = true};
    std::vector<FormField> fields{
        field("companyname", {control("compname")}),
        field("email", {control("conmail")}),
        field("filetitle", {control("appname")}),
        field("fileversion", {control("version")}),
        literal("Action=FilterSearch&Filter=fmfilter.hts&ResultTemplate=fmresults.hts&ViewTemplatee=view.hts"
                "&catid=&&baseref=1&"),
        field("authornotes", {control("Memo2"), text("            >>>>>>>>>>>Submitted with Quillet")}),
        field("filebeta", {mapped(kBeta)}),
        mappedField("apptype", kAppType),
        field("appamount", {control("price")}),
        field("requirements", {control("platforms")}),
        field("homepage", {control("appurl")}),
        field("filename", {control("filename")}),
        field("filedate", {control("month"), text("/"), control("day"), text("/"), control("year")}),
        field("filesize", {sizeKB(), text("K")}),
        lastField("filedesc", {control("longdesc")}),
        literal({mapped(kPlatform)}),
        literal({mapped(fileMineCategories())}),
        literal("&"),
        field("archivename", {control("compname")}),
    };
    for (const char* dl : {"dl1", "dl2", "dl3", "dl4", "dl5", "dl6"})
        fields.push_back(field("url", {control(dl)}));
    for (int i = 0; i < 3; ++i)
        fields.push_back(field("url", {}));
    fields.push_back(lastField("url", {}));
    return {{.entry = "filemine.new",
        .script = {text("/AddFiles_Save?")},
        .texts = texts,
        .newClearsUpdate = true,
        .fields = std::move(fields),
        .query = true}};
}

} // namespace

const std::vector<FormRecipe>& queryFormSites()
{
    static const std::vector<FormRecipe> sites = makeSites();
    return sites;
}

QString FileMineSite::address(const RunWindow& window, const SiteEndpoints& endpoints, int byteSize)
{
    const FormRecipe& site = queryFormSites().front();
    const BodyContext context{window, endpoints, byteSize, {}};
    const FormBody builder(context);
    return endpoints.scriptUrl(builder.value(site.script).value_or(QString())) + builder.build(site.fields);
}
