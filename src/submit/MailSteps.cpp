#include "submit/MailSteps.h"

#include "core/LineFile.h"
#include "submit/ChannelVerdict.h"
#include "submit/MailChannel.h"
#include "submit/RecipeBook.h"
#include "submit/RunControls.h"
#include "submit/RunWindow.h"

namespace {

QString name(const char* n)
{
    return QString::fromLatin1(n);
}

} // namespace

namespace MailSteps {

const QString ProductHomePage = QStringLiteral("https://brightfen.example/quillet/");
const QString ProductBannerPage = QStringLiteral("https://brightfen.example/quillet/banners.html");

void takeSettings(RunWindow& window, MailChannel& mail)
{
    mail.takeSettings(
        window.text(RunControl::smtpedit), window.text(RunControl::emailedit), window.text(RunControl::nameedit));
    mail.takeSecurity(window.text(RunControl::smtpsecurity), window.text(RunControl::smtpuser),
        window.text(RunControl::smtppassword), window.text(RunControl::cafileedit));
}

void open(RunWindow& window, const QString& label, const QString& preparing)
{
    RunControl::openSite(window, label, {.mail = true});
    window.setText(RunControl::mailstatus, preparing);
    window.report().channel(QStringLiteral("mail"));
}

void compose(MailChannel& mail, const QString& subject, const QStringList& lines)
{
    mail.setSubject(subject);
    mail.clearBody();
    for (const QString& line : lines)
        mail.addBodyLine(line);
}

void finish(RunWindow& window, const QString& logLine)
{
    RunControl::showIdle(window);
    window.appendLog(logLine);
    window.processMessages();
}

QStringList controlNames()
{
    return {RunControl::smtpedit, RunControl::emailedit, RunControl::nameedit, name("appname"), name("version"),
        name("ldatel"), name("platforms"), name("bytesize"), name("price"), name("status"), name("eval"),
        name("appurl"), name("dl1"), name("screenshot"), name("compname"), name("conname"), name("conmail"),
        name("conphone"), name("confax"), name("shortdesc"), name("longdesc"), name("Memo2")};
}

QStringList listingLines(const RunWindow& w)
{
    auto t = [&w](const char* control) { return w.text(name(control)); };
    // Memo texts come with CR LF between their lines; a memo entry keeps the breaks as LF.
    auto memo = [&w](const char* control) { return withLfBreaks(w.text(name(control))); };
    return {
        QStringLiteral("Application Name: ") + t("appname"),
        QStringLiteral("Version: ") + t("version"),
        QStringLiteral("Release Date: ") + t("ldatel"),
        QString(),
        QStringLiteral("Platform: ") + t("platforms"),
        QStringLiteral("FileSize: ") + t("bytesize") + QStringLiteral(" bytes"),
        QStringLiteral("Price: $") + t("price"),
        QStringLiteral("Registration Status: ") + t("status"),
        QStringLiteral("Eval Period: ") + t("eval"),
        QStringLiteral("Application Home Page: ") + t("appurl"),
        QStringLiteral("Application Location: ") + t("dl1"),
        QStringLiteral("ScreenShot Location: ") + t("screenshot"),
        QString(),
        QStringLiteral("Company Name: ") + t("compname"),
        QStringLiteral("Contact Name: ") + t("conname"),
        QStringLiteral("Contact E-Mail ") + t("conmail"),
        QStringLiteral("Contact Phone: ") + t("conphone"),
        QStringLiteral("Contact Fax: ") + t("confax"),
        QString(),
        QStringLiteral("Short Description:"),
        t("shortdesc"),
        QString(),
        QStringLiteral("Long Description:"),
        memo("longdesc"),
        QString(),
        QStringLiteral("Notes to Reviewer:"),
        memo("Memo2"),
        QString(),
        QString(),
        QString(),
        QString(),
        QString(),
        QStringLiteral("This shareware submission was auto-submitted by Quillet, a Brightfen product."),
        QStringLiteral("For information about Quillet software, please visit ") + ProductHomePage,
        QStringLiteral("We hope you will consider placing Quillet Banners on your Shareware Submission Page."),
        QStringLiteral("They can be found at: ") + ProductBannerPage,
    };
}

void sendmail(RunWindow& window, MailChannel& mail)
{
    window.setText(RunControl::mailstatus, QStringLiteral("Preparing Mail"));
    for (const QString& line : listingLines(window))
        mail.addBodyLine(line);
    window.setText(RunControl::mailstatus, QStringLiteral("Sending Mail"));
    deliver(window, mail);
    window.setText(RunControl::mailstatus, QStringLiteral("Mail Sent"));
    mail.clearBody();
}

void deliver(RunWindow& window, MailChannel& mail)
{
    window.report().attempted();
    const NetResult result = mail.send();
    const ChannelVerdict verdict = ChannelVerdict::of(ChannelVerdict::Channel::Mail, result, window.cancelFlag());
    if (verdict.sent())
        return;
    // One mail that did not go fails its own site; the sites after it still get their turn.
    const QString line
        = window.text(RunControl::currentsite) + QStringLiteral(": Error sending mail - ") + verdict.failure;
    mail.clearBody();
    window.setBusy(false);
    RunControl::showIdle(window);
    window.appendLog(line);
    window.report().failed(QStringLiteral("mail send"), line);
    if (verdict.endsSiteSteps)
        throw SiteStepsEnded{verdict.outcome == ChannelVerdict::Outcome::Cancelled};
}

} // namespace MailSteps
