#pragma once

#include "submit/RunRecord.h"

#include <QByteArray>
#include <QString>

#include <optional>

// The report file of a run: a JSON object with the program, its version, the start and end of
// the run, and one object per ticked site, in the order of the walk.
namespace RunReport {

QByteArray toJson(const RunRecord& record);
// Reads a report back; nothing when the text is not a report.
std::optional<RunRecord> fromJson(const QByteArray& json);

// basedir/reports/<program> <yyyy-mm-dd hh-mm-ss>.json, or with "-2", "-3" … before ".json" when a
// report of the same second is there: the name is taken (created empty) for the caller to write.
QString takeDefaultPath(const QString& basedir, const RunRecord& record);
// Writes the report, creating its folder; raises ECreateError when it cannot.
void write(const QString& path, const RunRecord& record);

} // namespace RunReport
