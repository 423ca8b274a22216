#include "batch/BatchStart.h"

#include "batch/BatchPrint.h"
#include "batch/CommandLine.h"
#include "batch/DataSnapshot.h"
#include "batch/ListedProgram.h"
#include "batch/RecordCheck.h"
#include "batch/RecordRun.h"
#include "core/Dialogs.h"
#include "core/RecordName.h"
#include "core/WholeFile.h"
#include "submit/RunReport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

QString recordPathIn(const QString& basedir, const QString& program)
{
    return recordPath(basedir + QStringLiteral("/data"), program, QStringLiteral(".dat"));
}

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

// Why a --report path cannot be used, or empty: the records and the catalogue are no place for it
// (a report named like one would replace it), and its folder must take a file.
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
        printLine(stderr, QStringLiteral("Site not used: ") + problem.text());
    // A long run is never silent: each site says so as its turn comes.
    if (!line.quiet) {
        run.submission().setSiteStartHandler([](int number, int count, const QString& label) {
            printLine(stderr, QStringLiteral("[%1/%2] %3").arg(number).arg(count).arg(label));
        });
    }
    const SubmissionRun::Outcome outcome = run.submit();
    const RunRecord& record = run.submission().lastRecord();
    int code = NotCompleted;
    if (outcome == SubmissionRun::Outcome::Completed)
        code = record.allSent() ? Completed : NotAllSent;
    if (storedRecord && !writeFileWhole(recordPath, *storedRecord))
        printLine(stderr, QStringLiteral("Cannot restore the tick boxes of %1").arg(recordPath));
    printLine(stderr,
        QStringLiteral("%1: %2%3")
            .arg(program, record.countsText(),
                code == NotCompleted ? QStringLiteral(" (the run ended early)") : QString()));
    if (!reportFile.isEmpty() && record.walked && run.reportPath() != reportFile) {
        printLine(stderr, QStringLiteral("The report could not be written to %1").arg(reportFile));
        code = NotCompleted;
    }
    return code;
}

} // namespace

int BatchMode::submit(const CommandLine& line)
{
    const QString& program = line.program;
    std::optional<RunRecord> retry;
    if (!line.retryFailed.isEmpty()) {
        QFile file(line.retryFailed);
        if (file.open(QIODevice::ReadOnly))
            retry = RunReport::fromJson(file.readAll());
        if (!retry) {
            printLine(stderr, QStringLiteral("Cannot read the report %1").arg(line.retryFailed));
            return Usage;
        }
    }
    if (!line.report.isEmpty()) {
        if (const QString refused = reportRefusal(line.report); !refused.isEmpty()) {
            printLine(stderr, refused);
            return Usage;
        }
    }
    // A preview leaves the stored records as they were, whatever the run's saves write.
    std::optional<DataSnapshot> snapshot;
    QString previewFolder;
    if (!line.dryRun.isEmpty()) {
        const QString folder = QFileInfo(line.dryRun).absoluteFilePath();
        if (!QDir().mkpath(folder)) {
            printLine(stderr, QStringLiteral("Cannot create the folder %1").arg(folder));
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
        printLine(stderr, unlisted);
        setDialogs(previous);
        return Usage;
    }
    {
        RecordRun run(base, program);
        run.window().setLogHandler([](const QString& text) { printLine(stdout, text); });
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
        const std::vector<Finding> findings = run.checkListing();
        if (!findings.empty())
            RecordCheck::printFindings(findings);
        const bool refused = ListingCheck::hasErrors(findings) && !line.force;
        if (refused) {
            printLine(stderr,
                QStringLiteral("%1: the listing has errors; nothing was sent (--force sends anyway)").arg(program));
            code = ListingErrors;
        } else {
            code = pressSubmit(run, line, recordPath, storedRecord);
        }
    }
    setDialogs(previous);
    if (snapshot)
        snapshot->restore();
    return code;
}

int BatchMode::check(const CommandLine& line)
{
    Dialogs* previous = setDialogs(nullptr);
    const QString base = QDir::currentPath();
    int code = Usage;
    if (const QString unlisted = unlistedProgramMessage(base, line.program); !unlisted.isEmpty()) {
        printLine(stderr, unlisted);
    } else {
        RecordRun run(base, line.program);
        const std::vector<Finding> findings = run.checkListing();
        RecordCheck::printFindings(findings);
        code = ListingCheck::hasErrors(findings) ? ListingErrors : findings.empty() ? Completed : ListingWarnings;
    }
    setDialogs(previous);
    return code;
}
