#include "submit/FileMineSite.h"

#include "submit/FileMineCategoryCodes.h"
#include "submit/FormBody.h"
#include "submit/FormEncoding.h"
#include "submit/FormRecipe.h"
#include "submit/HttpPost.h"
#include "submit/RecipeBook.h"
#include "submit/RunWindow.h"

namespace {

// The status keeps its preparing text while the request is under way.
const HttpTexts kTexts{.label = "File Mine",
    .preparing = "Preparing to post to FileMine",
    .posting = "Preparing to post to FileMine",
    .posted = "Posted on File Mine",
    .redirected = "Posted to FileMine",
    .completedLog = "File Mine: Completed HTTP GET",
    .redirectedLog = "FileMine: Completed HTTP Post",
    .errorLog = "FileMine: Error Posting - ",
    .debugEcho = true};

QString appType(const QString& status)
{
    if (status == QLatin1String("Feature Limit Demo"))
        return QStringLiteral("&apptype=Crippleware");
    if (status == QLatin1String("Time Limit Demo"))
        return QStringLiteral("&apptype=Nagware");
    if (status == QLatin1String("Public Domain") || status == QLatin1String("Freeware"))
        return QStringLiteral("&apptype=Freeware");
    if (status == QLatin1String("Shareware") || status == QLatin1String("Beta"))
        return QStringLiteral("&apptype=Shareware");
    return {};
}

QString platformCode(const QString& platforms)
{
    if (platforms == QLatin1String("Windows 95"))
        return QStringLiteral("4");
    if (platforms == QLatin1String("Windows NT"))
        return QStringLiteral("5");
    if (platforms == QLatin1String("Windows 95 and NT"))
        return QStringLiteral("10");
    return {};
}

} // namespace

QStringList FileMineSite::controlNames()
{
    return {QStringLiteral("compname"), QStringLiteral("conmail"), QStringLiteral("appname"), QStringLiteral("version"),
        QStringLiteral("Memo2"), QStringLiteral("status"), QStringLiteral("price"), QStringLiteral("platforms"),
        QStringLiteral("appurl"), QStringLiteral("filename"), QStringLiteral("month"), QStringLiteral("day"),
        QStringLiteral("year"), QStringLiteral("longdesc"), QStringLiteral("fileminepd"), QStringLiteral("dl1"),
        QStringLiteral("dl2"), QStringLiteral("dl3"), QStringLiteral("dl4"), QStringLiteral("dl5"),
        QStringLiteral("dl6")};
}

QString FileMineSite::address(const RunWindow& w, const SiteEndpoints& endpoints, int byteSize)
{
    const auto t = [&w](const char* control) { return w.text(QString::fromLatin1(control)); };
    QString texts;
    for (const QString& name : controlNames())
        texts += w.text(name);
    // The query's values are form-encoded like a posted body, in the record's encoding.
    const TextEncoding encoding = encodingFor(w.recordEncoding(), texts);
    const auto v = [encoding](const QString& value) { return formEncoded(value, encoding); };
    const QString status = t("status");

    QString a = endpoints.scriptUrl(QStringLiteral("/AddFiles_Save"));
    a += QStringLiteral("?companyname=") + v(t("compname"));
    a += QStringLiteral("&email=") + v(t("conmail"));
    a += QStringLiteral("&filetitle=") + v(t("appname"));
    a += QStringLiteral("&fileversion=") + v(t("version"));
    a += QStringLiteral("&Action=FilterSearch&Filter=fmfilter.hts&ResultTemplate=fmresults.hts"
                        "&ViewTemplatee=view.hts&catid=&&baseref=1");
    a += QStringLiteral("&authornotes=")
        + v(t("Memo2") + QStringLiteral("            >>>>>>>>>>>Submitted with Quillet"));
    a += status == QLatin1String("Beta") ? QStringLiteral("&filebeta=yes") : QStringLiteral("&filebeta=no");
    a += appType(status);
    a += QStringLiteral("&appamount=") + v(t("price"));
    a += QStringLiteral("&requirements=") + v(t("platforms"));
    a += QStringLiteral("&homepage=") + v(t("appurl"));
    a += QStringLiteral("&filename=") + v(t("filename"));
    a += QStringLiteral("&filedate=") + v(t("month") + QLatin1Char('/') + t("day") + QLatin1Char('/') + t("year"));
    a += QStringLiteral("&filesize=") + ValueReader::sizeInKB(byteSize) + QLatin1Char('K');
    a += QStringLiteral("&filedesc=") + v(t("longdesc"));
    if (const QString platform = platformCode(t("platforms")); !platform.isEmpty())
        a += QStringLiteral("&platform=") + platform + QStringLiteral("&prodcat=");
    if (const std::optional<int> code = fileMineCategoryCode(t("fileminepd")))
        a += QString::number(*code);
    a += QStringLiteral("&archivename=") + v(t("compname"));
    for (const char* dl : {"dl1", "dl2", "dl3", "dl4", "dl5", "dl6"})
        a += QStringLiteral("&url=") + v(t(dl));
    for (int i = 0; i < 4; ++i)
        a += QStringLiteral("&url=");
    return a;
}

void FileMineSite::getNewListing(SiteVisit& visit)
{
    RunWindow& w = visit.window;
    HttpPost step(w, visit.channels.http, kTexts, visit.endpoints);
    step.open();
    w.setChecked(SiteCatalogue::updateBoxOf(visit.entry.siteKey), false);
    step.target(address(w, visit.endpoints, visit.byteSize));
    step.send(QString(), HttpChannel::Method::Get);
}
