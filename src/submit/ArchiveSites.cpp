#include "submit/ArchiveSites.h"

#include "submit/ArchiveSteps.h"
#include "submit/FtpUpload.h"
#include "submit/MailChannel.h"
#include "submit/MailSteps.h"
#include "submit/RecipeBook.h"
#include "submit/RunControls.h"
#include "submit/RunWindow.h"

#include <QFile>

namespace {

QString str(const char* text)
{
    return QString::fromLatin1(text);
}

// The pointer back to normal and the three status texts "Idle".
void finish(RunWindow& w)
{
    w.setBusy(false);
    for (const QString& label : {RunControl::httpstatus, RunControl::ftpstatus, RunControl::mailstatus})
        w.setText(label, str("Idle"));
    w.processMessages();
}

// A site whose archive could not be made sends nothing: no upload of an old or missing file, no
// announcement of it. The component's message becomes the site's failure. True when it failed.
bool zipFailed(RunWindow& w, const QString& logName, const QString& problem)
{
    if (problem.isEmpty())
        return false;
    const QString line = logName + str(": Error Zipping - ") + problem;
    w.appendLog(line);
    w.report().failed(str("zip archive"), line);
    w.setText(RunControl::genlabel, QString());
    finish(w);
    return true;
}

const QString Simtel = QStringLiteral("Simtel");
// The archive's fixed password for its "incoming" upload account.
const QString SimtelPassword = QStringLiteral("vantiple");
const QString Winsite = QStringLiteral("Winsite");
const QString Papa = QStringLiteral("Papa WinSock-L FTP Archive");

} // namespace

void ArchiveSites::simtel(SiteVisit& visit)
{
    RunWindow& w = visit.window;
    if (!describeAndZip(
            w, Simtel, Simtel, true, [](const QString& localpath, bool) { return simtelZipAction(localpath); }))
        return;
    w.setText(RunControl::currentsite, Simtel);
    // Only Windows 95 programs are uploaded and announced; the generated files stay either way.
    if (!ArchiveTexts::isWin95(w.text(str("platforms"))))
        return;

    const QString zipName = w.text(RunControl::char8name) + str(".zip");
    const ArchiveFiles files = ArchiveFiles::forProgram(w.basedir(), w.text(RunControl::char8name));
    FtpUpload ftp(w, visit.channels.ftp, Simtel);
    ftp.checkArchive(files.archive);
    ftp.logon(
        str("Loging on to Simtel FTP server"), visit.endpoints.ftpHost, str("incoming"), SimtelPassword, files.archive);
    ftp.upload(QString(), zipName);
    ftp.logoff(str("logging off of Simtel FTP"));
    ftp.logResult(str("Simtel: Uploaded ") + zipName + str(" to FTP"));

    // The announcement goes out whatever the upload's outcome; a failed send fails the site.
    MailChannel& mail = visit.channels.mail;
    if (mail.server().isEmpty())
        mail.showSetup();
    w.setText(RunControl::mailstatus, str("Preparing mail for Simtel announcement"));
    w.report().channel(str("mail"));
    const ArchiveTexts texts = ArchiveSteps::textsOf(w);
    MailSteps::compose(mail, texts.announcementFileLine(), texts.announcement());
    mail.setRecipient(visit.endpoints.mailbox);
    w.setText(RunControl::mailstatus, str("Sending announcement to Simtel"));
    MailSteps::deliver(w, mail);
    mail.clearBody();
    w.setText(RunControl::mailstatus, str("Idle"));
    w.appendLog(str("Simtel: E-Mailed Upload Announcement"));
    finish(w);
}

void ArchiveSites::winsite(SiteVisit& visit)
{
    RunWindow& w = visit.window;
    w.setText(RunControl::currentsite, str("Winsite  (Generating TML File)"));
    RunControl::setLamps(w, {.ftp = true, .mail = false});
    const QString char8name = w.text(RunControl::char8name);
    const ArchiveFiles files = ArchiveFiles::forProgram(w.basedir(), char8name);
    const ArchiveTexts texts = ArchiveSteps::textsOf(w);
    w.report().channel(str("file"));
    ArchiveSteps::writeTextFile(files.tmlForm, texts.tmlForm(), w.recordEncoding());
    w.appendLog(str("Winsite: Saved ") + files.tmlForm);
    w.setText(RunControl::currentsite, Winsite);
    w.processMessages();

    // An archive made earlier (by simtel in this run, or by an earlier run) is uploaded as it is.
    const QString localpath = w.text(RunControl::localpath);
    const ZipAction action = winsiteZipAction(QFile::exists(files.archive));
    if (action != ZipAction::KeepExisting) {
        ArchiveSteps::writeTextFile(
            files.description, texts.description(ArchiveTexts::Layout::Winsite), w.recordEncoding());
        w.appendLog(str("Winsite: Saved ") + files.description);
        w.setText(RunControl::currentsite, str("Winsite  (Creating Zip File)"));
        if (zipFailed(w, Winsite, ArchiveSteps::makeArchive(w, action, files, localpath)))
            return;
        w.processMessages();
    }

    FtpUpload ftp(w, visit.channels.ftp, Winsite);
    ftp.checkArchive(files.archive);
    ftp.logon(str("Loging on to Winsite FTP server"), visit.endpoints.ftpHost, str("Anonymous"), w.text(str("conmail")),
        files.tmlForm);
    w.processMessages();
    const QString platforms = w.text(str("platforms"));
    QString folder;
    if (ArchiveTexts::isWin95(platforms))
        folder = str("/uploads/win95/");
    else if (ArchiveTexts::isWinNT(platforms))
        folder = str("/uploads/winnt/");
    if (!folder.isEmpty()) {
        w.setText(RunControl::ftpstatus, str("Uploading TML File"));
        ftp.upload(folder, char8name + str(".tml"), files.tmlForm);
        ftp.logResult(str("Winsite: Uploaded ") + files.tmlForm + str(" to FTP"));
        // The program's own file goes up under the archive's name, not the generated archive.
        w.setText(RunControl::ftpstatus, str("Uploading Zip File"));
        ftp.upload(folder, char8name + str(".zip"), localpath);
        ftp.logResult(str("Winsite: Uploaded ") + char8name + str(".zip to FTP"));
    }
    ftp.logoff(str("logging off of WinSite FTP"));
    w.processMessages();
    finish(w);
}

void ArchiveSites::papa(SiteVisit& visit)
{
    RunWindow& w = visit.window;
    if (!describeAndZip(w, Papa, Papa, false, papaZipAction))
        return;
    w.setText(RunControl::currentsite, Papa);

    const QString char8name = w.text(RunControl::char8name);
    const ArchiveFiles files = ArchiveFiles::forProgram(w.basedir(), char8name);
    FtpUpload ftp(w, visit.channels.ftp, Papa);
    ftp.checkArchive(files.archive);
    ftp.logon(str("Loging on to Papa WinSock-L FTP Archive server"), visit.endpoints.ftpHost, str("Anonymous"),
        w.text(str("conmail")), files.archive);
    ftp.changeDirectory(str("incoming"));
    w.setText(RunControl::ftpstatus, str("Uploading to Papa WinSock-L FTP Archive"));
    ftp.upload(QString(), char8name + str(".zip"));
    ftp.logResult(Papa + str(": Uploaded ") + char8name + str(".zip to FTP"));
    // The second upload runs whatever the first did; its line also reports a failed log-off.
    w.setText(RunControl::ftpstatus, str("Uploading to Papa WinSock-L FTP Archive"));
    ftp.upload(QString(), char8name + str(".txt"), files.description);
    ftp.logoff(str("logging off of Papa WinSock-L FTP Archive"));
    ftp.logResult(Papa + str(": Uploaded ") + char8name + str(".txt to FTP"), str("There may have been an error: "));
    finish(w);
}

bool ArchiveSites::describeAndZip(RunWindow& w, const QString& label, const QString& logName, bool mailLamp,
    ZipAction (*rule)(const QString& localpath, bool archiveExists), const QString& libraryDir)
{
    w.setText(RunControl::currentsite, label + str("  (Generating Text File)"));
    RunControl::setLamps(w, {.ftp = true, .mail = mailLamp});
    const QString char8name = w.text(RunControl::char8name);
    const ArchiveFiles files = ArchiveFiles::forProgram(w.basedir(), char8name);
    w.report().channel(str("file"));
    ArchiveSteps::writeTextFile(
        files.description, ArchiveSteps::textsOf(w).description(ArchiveTexts::Layout::Simtel), w.recordEncoding());
    w.appendLog(logName + str(": Saved ") + files.description);

    w.setText(RunControl::currentsite, label + str("  (Creating Zip File)"));
    const QString localpath = w.text(RunControl::localpath);
    const QString problem
        = ArchiveSteps::makeArchive(w, rule(localpath, QFile::exists(files.archive)), files, localpath, libraryDir);
    if (zipFailed(w, logName, problem))
        return false;
    w.processMessages();
    w.setText(RunControl::genlabel, QString());
    w.appendLog(logName + str(": Zipped files\\") + char8name + str(".zip"));
    return true;
}

QStringList ArchiveSites::controlNames()
{
    QStringList names;
    for (const char* n :
        {"appname", "version", "char8name", "month", "ldatel", "bytesize", "status", "diststatus", "installer",
            "compname", "conmail", "appurl", "dl1", "screenshot", "longdesc", "Memo2", "shortdesc", "platforms",
            "winsitepd", "conname", "pubpage", "conaddr", "concity", "constate", "conzip", "concountry", "conphone",
            "simtelpd", "specreq", "localpath", "genlabel", "currentsite", "ftpstatus", "mailstatus", "httpstatus"})
        names.append(str(n));
    return names;
}
