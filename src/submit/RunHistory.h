#pragma once

#include "submit/RunRecord.h"

#include <QDateTime>
#include <QHash>
#include <QString>

#include <optional>
#include <vector>

// The runs the reports folder remembers: every report written into basedir/reports, read back.
// Reports elsewhere (a batch run's --report) and files that are not reports are not part of it.
namespace RunHistory {

struct PastRun
{
    QString path;
    RunRecord record;
};

// What a site last got of a program: the newest run that was not a preview and came to the site.
struct Receipt
{
    QDateTime when;
    QString version;
    SiteResult::Outcome outcome = SiteResult::Outcome::Sent;
};

// The reports of one program, newest first.
std::vector<PastRun> runsOf(const QString& basedir, const QString& program);
// The newest report of any program.
std::optional<PastRun> newest(const QString& basedir);
// Per site key, what the site last got in the given runs (newest first). A site with two entries
// in one run (a new listing and an update) shows the one that did not go through, if any.
QHash<QString, Receipt> lastReceipts(const std::vector<PastRun>& runs);

} // namespace RunHistory
