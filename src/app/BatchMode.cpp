#include "app/BatchMode.h"

#include "app/ListedProgram.h"

#include "app/BaseFolder.h"
#include "app/CommandLine.h"
#include "app/DataSnapshot.h"
#include "app/EndpointBatch.h"
#include "app/NameList.h"
#include "app/PadBatch.h"
#include "app/PadRecords.h"
#include "app/RecordRun.h"
#include "app/SiteTicks.h"
#include "app/TForm1.h"
#include "core/Dialogs.h"
#include "core/Errors.h"
#include "core/LineFile.h"
#include "core/RecordName.h"
#include "core/TerminalText.h"
#include "submit/RunReport.h"
#include "submit/SubmissionRun.h"
#include "ui/TFlatButton.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QIcon>
#include <QListWidget>
#include <QProxyStyle>

#include <cstdio>

namespace {

// Nothing of a batch command is drawn, so the style's standard icons (the menu bars' and the tool
// buttons') are not read either: reading the first one probes every image-format plug-in.
class IconlessStyle : public QProxyStyle
{
public:
    QIcon standardIcon(StandardPixmap, const QStyleOption*, const QWidget*) const override { return {}; }
};

QString recordPathIn(const QString& basedir, const QString& program)
{
    return recordPath(basedir + QStringLiteral("/data"), program, QStringLiteral(".dat"));
}

void printTo(FILE* stream, const QString& text)
{
    // What a server said reaches the terminal too: its control characters are shown, not obeyed.
    std::fputs(terminalSafe(text).toLocal8Bit().constData(), stream);
    std::fputc('\n', stream);
    std::fflush(stream);
}

// Why a --report path cannot be used, or empty: the records and the catalogue are no place for it
// (a report named like one would replace it), and its folder must take a file.
// The path with its existing part's links resolved, so that a link or "a/../" finds no way around.
QString resolvedPath(const QString& path)
{
    QString existing = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    QString rest;
    while (!QFileInfo::exists(existing) && existing.contains(QLatin1Char('/')) && existing != QLatin1String("/")) {
        const qsizetype cut = existing.lastIndexOf(QLatin1Char('/'));
        rest.prepend(existing.mid(cut));
        existing = cut == 0 ? QStringLiteral("/") : existing.left(cut);
    }
    const QString canonical = QFileInfo(existing).canonicalFilePath();
    return QDir::cleanPath((canonical.isEmpty() ? existing : canonical) + rest);
}

QString reportRefusal(const QString& report)
{
    const QFileInfo info(report);
    const QString path = info.absoluteFilePath();
    const QString resolved = resolvedPath(path);
    for (const QString& kept : {QStringLiteral("data"), QStringLiteral("cat")}) {
        const QString folder = resolvedPath(QDir::current().filePath(kept));
        if (resolved.startsWith(folder + QLatin1Char('/')))
            return QStringLiteral("The report cannot go into the base folder's %1 folder: %2").arg(kept, path);
    }
    if (info.isDir())
        return QStringLiteral("The report cannot be written to %1: it is a folder").arg(path);
    const QFileInfo folder(info.absolutePath());
    if (folder.exists() && (!folder.isDir() || !folder.isWritable()))
        return QStringLiteral("The report cannot be written to %1: its folder cannot be written").arg(path);
    return QString();
}

// Presses "Save/Submit" on the loaded record and tells how the run ended.
int pressSubmit(
    RecordRun& run, const CommandLine& line, const QString& recordPath, const std::optional<QByteArray>& storedRecord)
{
    using namespace BatchMode;
    const QString& program = line.program;
    const QString reportFile = line.report.isEmpty() ? QString() : QFileInfo(line.report).absoluteFilePath();
    run.setReportFile(reportFile);
    run.setStallSeconds(line.timeout);
    run.setSiteLimitSeconds(line.siteLimit);
    // A refused definition of a site of one's own is named, and the run goes on without it.
    for (const UserSiteProblem& problem : run.userSites().refused)
        printTo(stderr, QStringLiteral("Site not used: ") + problem.text());
    // A long run is never silent: each site says so as its turn comes.
    if (!line.quiet) {
        run.submission().setSiteStartHandler([](int number, int count, const QString& label) {
            printTo(stderr, QStringLiteral("[%1/%2] %3").arg(number).arg(count).arg(label));
        });
    }
    const SubmissionRun::Outcome outcome = run.submit();
    const RunRecord& record = run.submission().lastRecord();
    int code = NotCompleted;
    if (outcome == SubmissionRun::Outcome::Completed)
        code = record.allSent() ? Completed : NotAllSent;
    if (storedRecord && !writeFileWhole(recordPath, *storedRecord))
        printTo(stderr, QStringLiteral("Cannot restore the tick boxes of %1").arg(recordPath));
    printTo(stderr,
        QStringLiteral("%1: %2%3")
            .arg(program, record.countsText(),
                code == NotCompleted ? QStringLiteral(" (the run ended early)") : QString()));
    if (!reportFile.isEmpty() && record.walked && run.reportPath() != reportFile) {
        printTo(stderr, QStringLiteral("The report could not be written to %1").arg(reportFile));
        code = NotCompleted;
    }
    return code;
}

} // namespace

QString BatchMode::helpText()
{
    return QStringLiteral(
        "Usage: quillet [--base DIR] [--setup | --submit \"Program Name\" | --check NAME | --check-endpoints [NAME]\n"
        "               | --import-pad FILE|URL | --export-pad NAME FILE] [--force] [--version] [--help]\n"
        "\n"
        "Without options Quillet opens its window on the base folder, which holds the data, cat,\n"
        "files and responses folders. The base folder is the current folder; started from the home\n"
        "folder, which holds no such folders, it is ~/Quillet.\n"
        "\n"
        "  --base DIR      Use DIR as the base folder.\n"
        "  --setup         Set the base folder up for Quillet: create its cat, data, files and\n"
        "                  responses folders and put the site category lists into cat. Files that\n"
        "                  are there already are kept; a base folder that does not exist is made.\n"
        "                  The window offers the same on its first start.\n"
        "  --submit NAME   Submit the program NAME, as listed in data/apps.dat, without showing\n"
        "                  the window (no display needed): its record is loaded as picking it under\n"
        "                  \"Application Name\" would, then \"Save/Submit\" is pressed. Every line of\n"
        "                  the run log is printed to standard output as it is added, every message\n"
        "                  to standard error. Sites are reached as cat/catalogue.dat says (see\n"
        "                  tools/sandbox for local stand-ins).\n"
        "                  Every run writes a report of what became of each ticked site to\n"
        "                  reports/NAME yyyy-mm-dd hh-mm-ss.json (see the README) and ends with a\n"
        "                  one-line summary on standard error.\n"
        "  --report FILE   With --submit: write the run's report to FILE instead.\n"
        "  --retry-failed REPORT\n"
        "                  With --submit: send only to the sites that REPORT lists as failed,\n"
        "                  skipped, not reached or not set up, with the tick boxes they had then.\n"
        "  --timeout SECONDS\n"
        "                  With --submit: end a network wait that sees no progress for SECONDS as\n"
        "                  Skip would (0: never). Without it, the Check / Options setting counts.\n"
        "                  With --check-endpoints: the most each endpoint may take (0: 120).\n"
        "  --site-limit SECONDS\n"
        "                  With --submit: end a site that takes longer than SECONDS in all as the\n"
        "                  time-out would (0: never). Without it, ten times the time-out.\n"
        "  --force         With --submit: send even when the listing check finds errors. With\n"
        "                  --import-pad: update the fields of an existing record.\n"
        "  --check NAME    Check the listing of NAME without sending anything: every field's rule,\n"
        "                  the program file, the settings and the needs of each ticked site. Prints\n"
        "                  the findings; exit status 0 (none), 4 (warnings only) or 5 (errors).\n"
        "                  --submit runs the same check first and stops on errors (status 5).\n"
        "  --check-endpoints [NAME]\n"
        "                  Try the endpoints without sending anything: name look-up, connect, the\n"
        "                  TLS handshake with its certificate check where the endpoint asks for TLS,\n"
        "                  and the FTP and SMTP greeting (then QUIT). Without NAME every configured\n"
        "                  endpoint (the sites' web and FTP hosts in cat/catalogue.dat and\n"
        "                  cat/sites/*.site, the mail server); with NAME those its ticked sites would\n"
        "                  use, and any of them still\n"
        "                  not set up. Up to 16 at a time, each bounded by the time-out (--timeout\n"
        "                  SECONDS, else the Check / Options setting). Prints site, endpoint and\n"
        "                  result; exit status 0 (all reachable) or 3.\n"
        "  --import-pad FILE|URL\n"
        "                  Create (or with --force update) a program record and its company from a\n"
        "                  PAD file, read from disk or fetched by http or https. Ends with what was\n"
        "                  filled and what was left out and why; a damaged file changes nothing.\n"
        "  --export-pad NAME FILE\n"
        "                  Write the record of NAME and its company as a PAD 4.0 file.\n"
        "  --dry-run DIR   With --submit: walk the run as it would go, but write what each site\n"
        "                  would receive into DIR (http/NNNN.req, mail/NNNN.eml,\n"
        "                  ftp/HOST/FOLDER/FILE) instead of sending it. The record is left as it was.\n"
        "  --quiet         With --submit: no \"[n/N] Site\" line on standard error as each site starts.\n"
        "  --version       Show the version.\n"
        "  --help          Show this text.\n"
        "\n"
        "Exit status of --submit:\n"
        "  0  every ticked site was sent\n"
        "  1  the run ended early (Cancel, an error, a failed check) or did not start\n"
        "  2  NAME is not a listed program here, or the base folder is not set up\n"
        "  3  the run completed with one or more sites failed, skipped, refused or not set up\n"
        "  5  the listing check found errors; nothing was sent\n"
        "\n"
        "A wrong command line is refused with exit status 2.\n");
}

std::optional<int> BatchMode::fromCommandLine(int argc, char** argv)
{
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args.append(QString::fromLocal8Bit(argv[i]));
    const CommandLine line = CommandLine::parse(args);
    switch (line.action) {
    case CommandLine::Action::Help:
        printTo(stdout, helpText());
        return Completed;
    case CommandLine::Action::Version:
        printTo(stdout, QStringLiteral("Quillet 1.20b"));
        return Completed;
    case CommandLine::Action::Refused:
        printTo(stderr,
            line.error + (line.error.endsWith(QLatin1Char('.')) ? QString() : QStringLiteral("."))
                + QStringLiteral(" See quillet --help."));
        return Usage;
    default:
        break;
    }
    // Setting a base folder up begins by making it.
    if (line.action == CommandLine::Action::SetUp && !line.base.isEmpty())
        QDir().mkpath(line.base);
    if (!line.base.isEmpty() && !QDir::setCurrent(line.base)) {
        printTo(stderr, QStringLiteral("Cannot use %1 as the base folder: there is no such folder.").arg(line.base));
        return Usage;
    }
    if (line.base.isEmpty()) {
        // A desktop launcher starts programs in the home folder, which is no place for the data.
        const QString chosen = BaseFolder::forStartIn(QDir::currentPath(), QDir::homePath());
        if (chosen != QDir::currentPath() && (line.action != CommandLine::Action::Submit || QDir(chosen).exists())) {
            QDir().mkpath(chosen);
            QDir::setCurrent(chosen);
        }
    }
    const QString base = QDir::currentPath();
    if (line.action == CommandLine::Action::SetUp) {
        try {
            BaseFolder::setUp(base);
        } catch (const QuilletError& e) {
            printTo(stderr, e.message());
            return NotCompleted;
        }
        printTo(stdout, QStringLiteral("Set up %1 for Quillet.").arg(base));
        return Completed;
    }
    const bool batch = line.action == CommandLine::Action::Submit || line.action == CommandLine::Action::ImportPad
        || line.action == CommandLine::Action::ExportPad || line.action == CommandLine::Action::Check
        || line.action == CommandLine::Action::CheckEndpoints;
    if (!batch)
        return std::nullopt;
    if (!BaseFolder::isSetUp(base)) {
        printTo(stderr,
            QStringLiteral("%1 holds no Quillet data (no cat or data folder). Set it up with: quillet --base \"%1\" "
                           "--setup")
                .arg(base));
        return Usage;
    }
    // No window is shown, so no display is needed, and no fonts either: the platform without
    // one spares a run the font set-up and the shaping of every label's and field's text, a third
    // of a short run's CPU.
    qputenv("QT_QPA_PLATFORM", "minimal");
    // Standard error is the run's: Qt's notes about the desktop session (no runtime folder, no
    // display) mean nothing here. Its errors still show.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
        if (type == QtCriticalMsg || type == QtFatalMsg)
            std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
    });
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillet"));
    QApplication::setStyle(new IconlessStyle);
    switch (line.action) {
    case CommandLine::Action::ImportPad:
        return PadBatch::importPad(line);
    case CommandLine::Action::ExportPad:
        return PadBatch::exportPad(line);
    case CommandLine::Action::Check:
        return PadBatch::check(line);
    case CommandLine::Action::CheckEndpoints:
        return EndpointBatch::check(line);
    default:
        return submit(line);
    }
}

int BatchMode::submit(const CommandLine& line)
{
    const QString& program = line.program;
    std::optional<RunRecord> retry;
    if (!line.retryFailed.isEmpty()) {
        QFile file(line.retryFailed);
        if (file.open(QIODevice::ReadOnly))
            retry = RunReport::fromJson(file.readAll());
        if (!retry) {
            printTo(stderr, QStringLiteral("Cannot read the report %1").arg(line.retryFailed));
            return Usage;
        }
    }
    if (!line.report.isEmpty()) {
        if (const QString refused = reportRefusal(line.report); !refused.isEmpty()) {
            printTo(stderr, refused);
            return Usage;
        }
    }
    // A preview leaves the stored records as they were, whatever the run's saves write.
    std::optional<DataSnapshot> snapshot;
    QString previewFolder;
    if (!line.dryRun.isEmpty()) {
        const QString folder = QFileInfo(line.dryRun).absoluteFilePath();
        if (!QDir().mkpath(folder)) {
            printTo(stderr, QStringLiteral("Cannot create the folder %1").arg(folder));
            return Usage;
        }
        snapshot = DataSnapshot::take(QDir::current().filePath(QStringLiteral("data")));
        previewFolder = folder;
    }
    // No one to ask: every box goes to stderr and every question gets its safe answer.
    Dialogs* previous = setDialogs(nullptr);
    int code = NotCompleted;
    const QString base = QDir::currentPath();
    if (const QString unlisted = unlistedProgramMessage(base, program); !unlisted.isEmpty()) {
        printTo(stderr, unlisted);
        setDialogs(previous);
        return Usage;
    }
    {
        RecordRun run(base, program);
        run.window().setLogHandler([](const QString& text) { printTo(stdout, text); });
        // A retry ticks only the failed sites for this run; the record keeps its own selection, so
        // the next plain run still goes to every site the author ticked.
        const QString recordPath = recordPathIn(base, program);
        std::optional<QByteArray> storedRecord;
        if (retry) {
            QFile stored(recordPath);
            if (stored.open(QIODevice::ReadOnly))
                storedRecord = stored.readAll();
            run.window().tickOnly(boxesToRetry(*retry));
        }
        run.setPreviewFolder(previewFolder);
        // The listing is checked before anything is sent; errors stop the run unless forced.
        const std::vector<Finding> findings
            = PadRecords::checkRecord(run.window(), run.window().tickedBoxes(), &run.userSites());
        if (!findings.empty())
            PadBatch::printFindings(findings);
        const bool refused = ListingCheck::hasErrors(findings) && !line.force;
        if (refused) {
            printTo(stderr,
                QStringLiteral("%1: the listing has errors; nothing was sent (--force sends anyway)").arg(program));
            code = PadBatch::Errors;
        } else {
            code = pressSubmit(run, line, recordPath, storedRecord);
        }
    }
    setDialogs(previous);
    if (snapshot)
        snapshot->restore();
    return code;
}
