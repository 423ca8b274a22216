#include "submit/RunReport.h"

#include "core/Errors.h"
#include "core/FreeName.h"
#include "core/WholeFile.h"
#include "submit/JsonWriter.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>

namespace {

QStringList toList(const QJsonValue& value)
{
    QStringList list;
    for (const QJsonValue& v : value.toArray())
        list.append(v.toString());
    return list;
}

} // namespace

namespace RunReport {

QByteArray toJson(const RunRecord& record)
{
    // Members in the order of their keys, as a QJsonObject holds and writes them.
    JsonWriter json;
    using Name = QLatin1StringView;
    json.beginObject();
    json.member(Name("counts"), record.countsText());
    json.member(Name("end"), record.end.toString(Qt::ISODate));
    if (record.preview)
        json.member(Name("preview"), true);
    json.member(Name("program"), record.program);
    json.key(Name("sites"));
    json.beginArray();
    for (const SiteResult& s : record.sites) {
        json.beginObject();
        json.member(Name("boxes"), s.boxes);
        json.member(Name("channels"), s.channels);
        json.member(Name("detail"), s.detail);
        json.member(Name("entry"), s.entry);
        json.member(Name("label"), s.label);
        json.member(Name("log"), s.logLines);
        json.member(Name("outcome"), SiteResult::outcomeName(s.outcome));
        if (!s.previewItems.isEmpty())
            json.member(Name("preview"), s.previewItems);
        // Milliseconds are enough; a number read back from an edited report may be too large to round.
        json.member(Name("seconds"), std::abs(s.seconds) < 1e9 ? qRound64(s.seconds * 1000) / 1000.0 : s.seconds);
        json.member(Name("site"), s.siteKey);
        json.member(Name("step"), s.step);
        json.endObject();
    }
    json.endArray();
    json.member(Name("start"), record.start.toString(Qt::ISODate));
    json.member(Name("version"), record.version);
    json.endObject();
    return json.take();
}

std::optional<RunRecord> fromJson(const QByteArray& json)
{
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject())
        return std::nullopt;
    const QJsonObject root = doc.object();
    if (!root.value(QLatin1String("sites")).isArray())
        return std::nullopt;
    RunRecord record;
    record.program = root.value(QLatin1String("program")).toString();
    record.version = root.value(QLatin1String("version")).toString();
    record.start = QDateTime::fromString(root.value(QLatin1String("start")).toString(), Qt::ISODate);
    record.end = QDateTime::fromString(root.value(QLatin1String("end")).toString(), Qt::ISODate);
    record.walked = true;
    record.preview = root.value(QLatin1String("preview")).toBool();
    for (const QJsonValue& v : root.value(QLatin1String("sites")).toArray()) {
        const QJsonObject o = v.toObject();
        const auto outcome = SiteResult::outcomeFromName(o.value(QLatin1String("outcome")).toString());
        if (!outcome)
            return std::nullopt;
        SiteResult s;
        s.entry = o.value(QLatin1String("entry")).toString();
        s.siteKey = o.value(QLatin1String("site")).toString();
        s.label = o.value(QLatin1String("label")).toString();
        s.boxes = toList(o.value(QLatin1String("boxes")));
        s.channels = toList(o.value(QLatin1String("channels")));
        s.outcome = *outcome;
        s.detail = o.value(QLatin1String("detail")).toString();
        s.step = o.value(QLatin1String("step")).toString();
        s.seconds = o.value(QLatin1String("seconds")).toDouble();
        s.logLines = toList(o.value(QLatin1String("log")));
        s.previewItems = toList(o.value(QLatin1String("preview")));
        record.sites.push_back(s);
    }
    return record;
}

QString takeDefaultPath(const QString& basedir, const RunRecord& record)
{
    // The program name is a safe record name already; a file name takes no slash either way.
    QString program = record.program;
    program.replace(QLatin1Char('/'), QLatin1Char('_'));
    // A long program name is shortened so that the name, date and ".json" fit the file system's
    // 255 bytes; a character is never cut in half.
    while (program.toUtf8().size() > 200)
        program.chop(program.size() > 1 && program.back().isLowSurrogate() ? 2 : 1);
    const QString folder = basedir + QStringLiteral("/reports");
    QDir().mkpath(folder);
    return takeFreeName(folder + QLatin1Char('/') + program + QLatin1Char(' ')
            + record.start.toString(QStringLiteral("yyyy-MM-dd hh-mm-ss")),
        QStringLiteral(".json"));
}

void write(const QString& path, const RunRecord& record)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    if (!writeFileWhole(path, toJson(record)))
        throw ECreateError(path);
}

} // namespace RunReport
