#include "submit/ArchiveSites.h"

#include "submit/ArchiveSteps.h"
#include "submit/RecipeBook.h"
#include "submit/RunWindow.h"

#include <QFile>

namespace {

QString str(const char* text)
{
    return QString::fromLatin1(text);
}

void lamps(RunWindow& w, bool mail)
{
    w.setLamp(str("httpled"), false);
    w.setLamp(str("ftpled"), true);
    w.setLamp(str("mailled"), mail);
}

} // namespace

void ArchiveSites::describeAndZip(RunWindow& w, const QString& label, const QString& logName, bool mailLamp,
    ZipAction (*rule)(const QString& localpath, bool archiveExists), const QString& libraryDir)
{
    ArchiveSteps::rewrapLongTexts(w);
    w.setText(str("currentsite"), label + str("  (Generating Text File)"));
    lamps(w, mailLamp);
    const QString char8name = w.text(str("char8name"));
    const ArchiveFiles files = ArchiveFiles::forProgram(w.basedir(), char8name);
    ArchiveSteps::writeTextFile(files.description, ArchiveSteps::textsOf(w).description(ArchiveTexts::Layout::Simtel));
    w.appendLog(logName + str(": Saved ") + files.description);

    w.setText(str("currentsite"), label + str("  (Creating Zip File)"));
    const QString localpath = w.text(str("localpath"));
    ArchiveSteps::makeArchive(w, rule(localpath, QFile::exists(files.archive)), files, localpath, libraryDir);
    w.processMessages();
    w.setText(str("genlabel"), QString());
    w.appendLog(logName + str(": Zipped files\\") + char8name + str(".zip"));
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
