#include "submit/RunHistory.h"

#include "submit/RunReport.h"

#include <QDir>
#include <QFile>

#include <algorithm>

namespace {

QString reportsFolder(const QString& basedir)
{
    return basedir + QStringLiteral("/reports");
}

// Reports in the folder whose file name starts with prefix, read back; newest first.
std::vector<RunHistory::PastRun> readReports(const QString& basedir, const QString& prefix)
{
    std::vector<RunHistory::PastRun> runs;
    const QDir folder(reportsFolder(basedir));
    const QStringList names = folder.entryList({QStringLiteral("*.json")}, QDir::Files);
    for (const QString& name : names) {
        if (!name.startsWith(prefix))
            continue;
        QFile file(folder.filePath(name));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        if (auto record = RunReport::fromJson(file.readAll()))
            runs.push_back({file.fileName(), std::move(*record)});
    }
    std::stable_sort(runs.begin(), runs.end(), [](const RunHistory::PastRun& a, const RunHistory::PastRun& b) {
        return a.record.start != b.record.start ? a.record.start > b.record.start : a.path > b.path;
    });
    return runs;
}

} // namespace

namespace RunHistory {

std::vector<PastRun> runsOf(const QString& basedir, const QString& program)
{
    // The file name starts with the program's name (shortened when long); the report says whose
    // run it was.
    QString prefix = program.left(50);
    prefix.replace(QLatin1Char('/'), QLatin1Char('_'));
    std::vector<PastRun> runs = readReports(basedir, prefix);
    std::erase_if(runs, [&](const PastRun& run) { return run.record.program != program; });
    return runs;
}

std::optional<PastRun> newest(const QString& basedir)
{
    std::vector<PastRun> runs = readReports(basedir, QString());
    if (runs.empty())
        return std::nullopt;
    return std::move(runs.front());
}

QHash<QString, Receipt> lastReceipts(const std::vector<PastRun>& runs)
{
    QHash<QString, Receipt> receipts;
    for (const PastRun& run : runs) {
        if (run.record.preview)
            continue;
        QHash<QString, Receipt> ofRun;
        for (const SiteResult& site : run.record.sites) {
            if (receipts.contains(site.siteKey))
                continue;
            auto known = ofRun.find(site.siteKey);
            if (known == ofRun.end())
                ofRun.insert(site.siteKey, {run.record.start, run.record.version, site.outcome});
            else if (known->outcome == SiteResult::Outcome::Sent)
                known->outcome = site.outcome;
        }
        receipts.insert(ofRun);
    }
    return receipts;
}

} // namespace RunHistory
