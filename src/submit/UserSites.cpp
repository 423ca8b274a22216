#include "submit/UserSites.h"

#include "submit/ArchiveSites.h"
#include "submit/ArchiveSteps.h"
#include "submit/EndpointText.h"
#include "submit/FormSite.h"
#include "submit/FtpUpload.h"
#include "submit/RunControls.h"
#include "submit/RunWindow.h"
#include "submit/SubmissionRun.h"

#include <QDir>
#include <QFile>

namespace {

QString str(const char* text)
{
    return QString::fromLatin1(text);
}

// Log-on, folder, the planned files one by one, log-off: each file's result is its own log line.
void upload(const UserSite& site, const UserSite::FtpPlan& plan, SiteVisit& visit)
{
    RunWindow& w = visit.window;
    const QString& label = site.label;
    const QString char8name = w.text(RunControl::char8name);
    const QString localpath = w.text(RunControl::localpath);
    ArchiveFiles files;
    if (plan.archive) {
        files = ArchiveFiles::forProgram(w.basedir(), char8name);
        if (!ArchiveSites::describeAndZip(
                w, label, label, false, [](const QString& path, bool) { return simtelZipAction(path); }))
            return;
    } else if (plan.description) {
        files = ArchiveFiles::forProgram(w.basedir(), char8name);
        w.report().channel(str("file"));
        ArchiveSteps::writeTextFile(
            files.description, ArchiveSteps::textsOf(w).description(ArchiveTexts::Layout::Simtel), w.recordEncoding());
        w.appendLog(label + str(": Saved ") + files.description);
    }
    RunControl::openSite(w, label, {.ftp = true});
    FtpUpload ftp(w, visit.channels.ftp, label);
    if (plan.archive)
        ftp.checkArchive(files.archive);
    ftp.logon(
        str("Logging on to ") + label, visit.endpoints.ftpHost, str("Anonymous"), w.text(str("conmail")), localpath);
    if (!plan.folder.isEmpty())
        ftp.changeDirectory(plan.folder);
    auto send = [&](const QString& name, const QString& local) {
        w.setText(RunControl::ftpstatus, str("Uploading to ") + label);
        ftp.upload(QString(), name, local);
        ftp.logResult(label + str(": Uploaded ") + FtpUpload::lastComponent(name) + str(" to FTP"));
    };
    if (plan.program)
        send(w.text(str("filename")), localpath);
    if (plan.description)
        send(char8name + str(".txt"), files.description);
    if (plan.archive)
        send(char8name + str(".zip"), files.archive);
    ftp.logoff(str("Logging off of ") + label);
    w.setBusy(false);
    for (const QString& status : {RunControl::httpstatus, RunControl::ftpstatus, RunControl::mailstatus})
        w.setText(status, str("Idle"));
    w.processMessages();
}

} // namespace

QString UserSite::placeholderKey() const
{
    switch (channel) {
    case Channel::Form:
    case Channel::Get:
        return EndpointText::isPlaceholder(endpoints.host) ? str("URL") : QString();
    case Channel::Mail:
        return EndpointText::isPlaceholder(endpoints.mailbox) ? str("TO") : QString();
    case Channel::Ftp:
        return EndpointText::isPlaceholder(endpoints.ftpHost) ? str("HOST") : QString();
    }
    return QString();
}

void UserSite::perform(SiteVisit& visit) const
{
    // A ticked New box sends the new listing and clears Update in the window, as the built-in sites do.
    const bool isNew = visit.window.isChecked(entry.newBox);
    if (isNew && visit.window.isChecked(entry.updateBox))
        visit.window.setChecked(entry.updateBox, false);
    switch (channel) {
    case Channel::Form:
    case Channel::Get:
        postFormRecipe(isNew ? newForm : updateForm, visit);
        break;
    case Channel::Mail:
        sendMailRecipe(mail, visit);
        break;
    case Channel::Ftp:
        upload(*this, isNew ? newFtp : updateFtp, visit);
        break;
    }
}

UserSites UserSites::load(const QString& basedir)
{
    UserSites out;
    const QDir folder(basedir + str("/cat/sites"));
    if (!folder.exists())
        return out;
    QSet<QString> taken;
    QStringList names = RecipeBook::controlNames() + SubmissionRun::controlNames();
    for (const SiteEntry& e : SiteCatalogue::entries())
        names << e.siteKey << e.newBox << e.updateBox;
    for (const QString& name : names)
        taken.insert(name.toLower());
    for (const QString& name : folder.entryList({str("*.site")}, QDir::Files | QDir::Readable, QDir::Name)) {
        const QString shown = str("cat/sites/") + name;
        QFile file(folder.filePath(name));
        if (!file.open(QIODevice::ReadOnly)) {
            out.refused.push_back({shown, 0, str("cannot be read")});
            continue;
        }
        UserSiteProblem problem;
        std::shared_ptr<UserSite> site = parseUserSite(shown, file.read(1024 * 1024 + 1), taken, &problem);
        if (!site) {
            out.refused.push_back(problem);
            continue;
        }
        for (const QString& box : {site->entry.siteKey, site->entry.newBox, site->entry.updateBox})
            taken.insert(box.toLower());
        out.sites.push_back(std::move(site));
    }
    return out;
}

const UserSites& UserSites::none()
{
    static const UserSites empty;
    return empty;
}
