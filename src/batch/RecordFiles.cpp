#include "batch/RecordFiles.h"

#include "batch/RecordLayout.h"
#include "core/Errors.h"
#include "core/LineFile.h"
#include "core/ProfileFile.h"
#include "core/RecordName.h"

#include <QDir>
#include <QFile>

#include <sys/stat.h>

#include <optional>
#include <span>

namespace {

QString text(QLatin1StringView s)
{
    return QString(s);
}

using TextOf = std::function<QString(const QString& control)>;

void writeTexts(ProfileFile& file, QLatin1StringView section, std::span<const RecordKey> keys, const TextOf& value)
{
    for (const RecordKey& key : keys)
        file.writeString(text(section), text(key.key), value(text(key.control)));
}

} // namespace

void RecordFiles::saveProgram(const QString& dataFolder, const QString& name, const QString& company,
    const TextOf& value, const std::function<bool(const QString& box)>& ticked, const QStringList& userTicks,
    const std::function<void(NameList list, const QString& path, const QString& name)>& addName)
{
    const auto path = [&dataFolder](const QString& file, const QString& extension) {
        return recordPath(dataFolder, file, extension);
    };
    const QString dat = QStringLiteral(".dat");
    // Names are file names: one that cannot have a record is refused before anything is written.
    for (const QString& file : {name, company}) {
        if (!isSafeRecordName(file))
            throw EWriteError(path(file, dat));
    }
    // The lists live in the data folder too, so it is made before the first list is written.
    QDir().mkdir(dataFolder);
    addName(NameList::Companies, path(QStringLiteral("companies"), dat), company);
    writeCompany(path(company, dat), value);
    addName(NameList::Programs, path(QStringLiteral("apps"), dat), name);
    writeProgram(path(name, QString()), value, ticked, userTicks);
}

RecordValues RecordFiles::read(const QString& recordPath, bool safe, const QStringList& userTicks)
{
    RecordValues values;
    std::optional<ProfileFile> record;
    if (safe)
        record.emplace(recordPath + QStringLiteral(".dat"));
    auto load = [&](QLatin1StringView section, std::span<const RecordKey> keys) {
        for (const RecordKey& key : keys) {
            if (key.key == RecordLayout::NameKey)
                continue;
            values.texts.emplace_back(text(key.control),
                record ? record->readString(text(section), text(key.key), text(key.defaultValue))
                       : text(key.defaultValue));
        }
    };
    load(RecordLayout::Company, RecordLayout::companyKeys());
    load(RecordLayout::AppInfo, RecordLayout::appInfoKeys());
    if (safe) {
        if (auto text = readLineText(recordPath + QStringLiteral(".lds"))) {
            values.texts.emplace_back(QStringLiteral("longdesc"), std::move(*text));
            if (auto notes = readLineText(recordPath + QStringLiteral(".nts")))
                values.texts.emplace_back(QStringLiteral("Memo2"), std::move(*notes));
        }
    }
    load(RecordLayout::Sites, RecordLayout::categoryKeys());
    const QString sites = text(RecordLayout::Sites);
    for (QLatin1StringView tick : RecordLayout::tickBoxes())
        values.ticks.emplace_back(text(tick), record && record->readBool(sites, text(tick)));
    for (const QString& tick : userTicks) {
        if (!tick.isEmpty())
            values.ticks.emplace_back(tick, record && record->readBool(sites, tick));
    }
    return values;
}

void RecordFiles::writeProgram(const QString& recordPath, const TextOf& value,
    const std::function<bool(const QString& box)>& ticked, const QStringList& userTicks)
{
    ProfileFile record(recordPath + QStringLiteral(".dat"));
    writeTexts(record, RecordLayout::Company, RecordLayout::companyKeys(), value);
    writeTexts(record, RecordLayout::AppInfo, RecordLayout::appInfoKeys(), value);
    record.commit();

    writeTextLines(recordPath + QStringLiteral(".lds"), value(QStringLiteral("longdesc")));
    writeTextLines(recordPath + QStringLiteral(".nts"), value(QStringLiteral("Memo2")));

    const QString sites = text(RecordLayout::Sites);
    writeTexts(record, RecordLayout::Sites, RecordLayout::categoryKeys(), value);
    for (QLatin1StringView tick : RecordLayout::tickBoxes())
        record.writeBool(sites, text(tick), ticked(text(tick)));
    const QString absent = QStringLiteral("\n");
    for (const QString& tick : userTicks) {
        if (ticked(tick) || record.readString(sites, tick, absent) != absent)
            record.writeBool(sites, tick, ticked(tick));
    }
    record.commit();
}

void RecordFiles::writeCompany(const QString& path, const TextOf& value)
{
    ProfileFile file(path);
    writeTexts(file, RecordLayout::Company, RecordLayout::companyKeys(), value);
    file.commit();
}

TextEncoding RecordEncoding::of(const QString& recordPath) const
{
    // One stat per file: every form post asks, and a local time for each file's date would have
    // the C library look at the system's time zone file each time.
    QStringList paths;
    Stamps stamps;
    std::size_t i = 0;
    for (const char* extension : {".dat", ".lds", ".nts"}) {
        paths.append(recordPath + QString::fromLatin1(extension));
        struct stat file;
        stamps[i++] = ::stat(QFile::encodeName(paths.back()).constData(), &file) == 0
            ? std::pair<qint64, qint64>{file.st_size, qint64(file.st_mtim.tv_sec) * 1000000000 + file.st_mtim.tv_nsec}
            : std::pair<qint64, qint64>{-1, -1};
    }
    if (m_known && m_known->recordPath == recordPath && m_known->stamps == stamps)
        return m_known->encoding;
    TextEncoding encoding = TextEncoding::Utf8;
    for (const QString& path : paths) {
        if (fileEncoding(path) == TextEncoding::Windows1252) {
            encoding = TextEncoding::Windows1252;
            break;
        }
    }
    m_known = Known{recordPath, stamps, encoding};
    return encoding;
}
