// Program records: the program list, loading a record into the window and saving it back.
#include "app/TForm1.h"

#include "app/ComboItems.h"
#include "app/ControlText.h"
#include "app/NameList.h"
#include "app/RecordLayout.h"
#include "core/Errors.h"
#include "core/LineFile.h"
#include "core/ProfileFile.h"
#include "core/RecordName.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QPlainTextEdit>

#include <optional>

namespace {

QString text(QLatin1StringView s)
{
    return QString(s);
}

} // namespace

QString TForm1::dataPath(const QString& name, const QString& extension) const
{
    return recordPath(basedir + QStringLiteral("/data"), name, extension);
}

TextEncoding TForm1::recordEncoding() const
{
    const QString name = appname->currentText();
    if (!isSafeRecordName(name))
        return TextEncoding::Utf8;
    for (const char* extension : {".dat", ".lds", ".nts"}) {
        if (fileEncoding(dataPath(name, QString::fromLatin1(extension))) == TextEncoding::Windows1252)
            return TextEncoding::Windows1252;
    }
    return TextEncoding::Utf8;
}

void TForm1::ensureDataFolder()
{
    QDir(basedir).mkdir(QStringLiteral("data"));
}

void TForm1::appnameEnter()
{
    if (auto names = readLineFile(dataPath(QStringLiteral("apps"), QStringLiteral(".dat"))))
        replaceComboItems(appname, *names);
}

void TForm1::appnameChange()
{
    const QString name = appname->currentText();
    if (!mayLoad(name))
        return;
    // A name that cannot have a record loads the defaults.
    const bool safe = isSafeRecordName(name);
    std::optional<ProfileFile> record;
    if (safe)
        record.emplace(dataPath(name, QStringLiteral(".dat")));
    auto value = [&](QLatin1StringView section, const RecordKey& key) {
        return record ? record->readString(text(section), text(key.key), text(key.defaultValue))
                      : text(key.defaultValue);
    };

    for (const RecordKey& key : RecordLayout::companyKeys())
        setControlText(control(text(key.control)), value(RecordLayout::Company, key));
    for (const RecordKey& key : RecordLayout::appInfoKeys()) {
        if (key.key != RecordLayout::NameKey)
            setControlText(control(text(key.control)), value(RecordLayout::AppInfo, key));
    }

    // A text file that cannot be read ends the loading of the texts, silently.
    if (safe) {
        if (auto lines = readLineFile(dataPath(name, QStringLiteral(".lds")))) {
            setControlText(longdesc, lines->join(QLatin1Char('\n')));
            if (auto notes = readLineFile(dataPath(name, QStringLiteral(".nts"))))
                setControlText(Memo2, notes->join(QLatin1Char('\n')));
        }
    }

    for (const RecordKey& key : RecordLayout::categoryKeys())
        setControlText(control(text(key.control)), value(RecordLayout::Sites, key));
    for (QLatin1StringView name : RecordLayout::tickBoxes()) {
        auto* box = static_cast<QCheckBox*>(control(text(name)));
        box->setChecked(record && record->readBool(text(RecordLayout::Sites), text(name)));
    }

    rebuildLongdate();
    markSaved();
}

void TForm1::savesite()
{
    const QString name = appname->currentText();
    if (name.isEmpty())
        return;
    // Names are file names: one that cannot have a record is refused before anything is written.
    if (!isSafeRecordName(name))
        throw EWriteError(dataPath(name, QStringLiteral(".dat")));
    if (!isSafeRecordName(compname->currentText()))
        throw EWriteError(dataPath(compname->currentText(), QStringLiteral(".dat")));

    // The lists live in the data folder too, so it is made before the first list is written.
    ensureDataFolder();
    addCompanyToList();
    writeCompanyRecord();
    addToNameList(dataPath(QStringLiteral("apps"), QStringLiteral(".dat")), appname, name);
    writeProgramRecord();
    markSaved();
}

void TForm1::writeControls(ProfileFile& file, QLatin1StringView section, std::span<const RecordKey> keys) const
{
    for (const RecordKey& key : keys)
        file.writeString(text(section), text(key.key), controlText(control(text(key.control))));
}

void TForm1::writeProgramRecord()
{
    const QString name = appname->currentText();
    ProfileFile record(dataPath(name, QStringLiteral(".dat")));
    writeControls(record, RecordLayout::Company, RecordLayout::companyKeys());
    writeControls(record, RecordLayout::AppInfo, RecordLayout::appInfoKeys());
    record.commit();

    writeLineFile(dataPath(name, QStringLiteral(".lds")), textToLines(memoText(longdesc)));
    writeLineFile(dataPath(name, QStringLiteral(".nts")), textToLines(memoText(Memo2)));

    writeControls(record, RecordLayout::Sites, RecordLayout::categoryKeys());
    for (QLatin1StringView tick : RecordLayout::tickBoxes()) {
        const auto* box = static_cast<const QCheckBox*>(control(text(tick)));
        record.writeBool(text(RecordLayout::Sites), text(tick), box->isChecked());
    }
    record.commit();
}
