// Program and company records: the lists of names, loading a record into the pages and saving it
// back.
#include "app/RecordStore.h"

#include "app/AppInfoPage.h"
#include "app/ComboItems.h"
#include "app/CompanyPage.h"
#include "app/ControlRegistry.h"
#include "app/ControlText.h"
#include "app/DescriptionPage.h"
#include "app/GeneralPage.h"
#include "app/NameList.h"
#include "app/RecordLayout.h"
#include "core/Errors.h"
#include "core/LineFile.h"
#include "core/ProfileFile.h"
#include "core/RecordName.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QPlainTextEdit>

#include <optional>

namespace {

QString text(QLatin1StringView s)
{
    return QString(s);
}

} // namespace

RecordStore::RecordStore(const ControlRegistry& controls, AppInfoPage& appInfo, CompanyPage& company,
    OptionsPage& options, const QString& basedir, QObject* parent)
    : QObject(parent)
    , m_controls(controls)
    , m_appInfo(appInfo)
    , m_company(company)
    , m_options(options)
    , m_basedir(basedir)
{
}

QWidget* RecordStore::control(QLatin1StringView name) const
{
    return m_controls.control(text(name));
}

QString RecordStore::programName() const
{
    return m_appInfo.general()->appname()->currentText();
}

QString RecordStore::dataPath(const QString& name, const QString& extension) const
{
    return recordPath(m_basedir + QStringLiteral("/data"), name, extension);
}

TextEncoding RecordStore::recordEncoding() const
{
    const QString name = programName();
    if (!isSafeRecordName(name))
        return TextEncoding::Utf8;
    QStringList paths;
    QList<QPair<qint64, QDateTime>> stamps;
    for (const char* extension : {".dat", ".lds", ".nts"}) {
        paths.append(dataPath(name, QString::fromLatin1(extension)));
        const QFileInfo file(paths.back());
        stamps.append({file.exists() ? file.size() : -1, file.lastModified()});
    }
    if (m_knownEncoding && m_knownEncoding->name == name && m_knownEncoding->stamps == stamps)
        return m_knownEncoding->encoding;
    TextEncoding encoding = TextEncoding::Utf8;
    for (const QString& path : paths) {
        if (fileEncoding(path) == TextEncoding::Windows1252) {
            encoding = TextEncoding::Windows1252;
            break;
        }
    }
    m_knownEncoding = KnownEncoding{name, stamps, encoding};
    return encoding;
}

void RecordStore::ensureDataFolder()
{
    QDir(m_basedir).mkdir(QStringLiteral("data"));
}

void RecordStore::appnameEnter()
{
    if (auto names = readLineFile(dataPath(QStringLiteral("apps"), QStringLiteral(".dat"))))
        replaceComboItems(m_appInfo.general()->appname(), *names);
}

void RecordStore::appnameChange()
{
    const QString name = programName();
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
        setControlText(control(key.control), value(RecordLayout::Company, key));
    for (const RecordKey& key : RecordLayout::appInfoKeys()) {
        if (key.key != RecordLayout::NameKey)
            setControlText(control(key.control), value(RecordLayout::AppInfo, key));
    }

    // A text file that cannot be read ends the loading of the texts, silently.
    const DescriptionPage& description = *m_appInfo.description();
    if (safe) {
        if (auto lines = readLineFile(dataPath(name, QStringLiteral(".lds")))) {
            setControlText(description.longdesc(), lines->join(QLatin1Char('\n')));
            if (auto notes = readLineFile(dataPath(name, QStringLiteral(".nts"))))
                setControlText(description.Memo2(), notes->join(QLatin1Char('\n')));
        }
    }

    for (const RecordKey& key : RecordLayout::categoryKeys())
        setControlText(control(key.control), value(RecordLayout::Sites, key));
    for (QLatin1StringView tick : RecordLayout::tickBoxes()) {
        auto* box = static_cast<QCheckBox*>(control(tick));
        box->setChecked(record && record->readBool(text(RecordLayout::Sites), text(tick)));
    }
    for (const QString& tick : m_userTicks) {
        if (auto* box = qobject_cast<QCheckBox*>(m_controls.control(tick)))
            box->setChecked(record && record->readBool(text(RecordLayout::Sites), tick));
    }

    m_appInfo.general()->rebuildLongdate();
    markSaved();
}

void RecordStore::savesite()
{
    const QString name = programName();
    if (name.isEmpty())
        return;
    const QString company = m_company.compname()->currentText();
    // Names are file names: one that cannot have a record is refused before anything is written.
    if (!isSafeRecordName(name))
        throw EWriteError(dataPath(name, QStringLiteral(".dat")));
    if (!isSafeRecordName(company))
        throw EWriteError(dataPath(company, QStringLiteral(".dat")));

    // The lists live in the data folder too, so it is made before the first list is written.
    ensureDataFolder();
    addCompanyToList();
    writeCompanyRecord();
    addToNameList(dataPath(QStringLiteral("apps"), QStringLiteral(".dat")), m_appInfo.general()->appname(), name);
    writeProgramRecord();
    markSaved();
}

void RecordStore::writeControls(ProfileFile& file, QLatin1StringView section, std::span<const RecordKey> keys) const
{
    for (const RecordKey& key : keys)
        file.writeString(text(section), text(key.key), controlText(control(key.control)));
}

void RecordStore::writeProgramRecord()
{
    m_knownEncoding.reset(); // a save may change it within the file times' resolution
    const QString name = programName();
    ProfileFile record(dataPath(name, QStringLiteral(".dat")));
    writeControls(record, RecordLayout::Company, RecordLayout::companyKeys());
    writeControls(record, RecordLayout::AppInfo, RecordLayout::appInfoKeys());
    record.commit();

    const DescriptionPage& description = *m_appInfo.description();
    writeLineFile(dataPath(name, QStringLiteral(".lds")), textToLines(memoText(description.longdesc())));
    writeLineFile(dataPath(name, QStringLiteral(".nts")), textToLines(memoText(description.Memo2())));

    writeControls(record, RecordLayout::Sites, RecordLayout::categoryKeys());
    for (QLatin1StringView tick : RecordLayout::tickBoxes()) {
        const auto* box = static_cast<const QCheckBox*>(control(tick));
        record.writeBool(text(RecordLayout::Sites), text(tick), box->isChecked());
    }
    const QString absent = QStringLiteral("\n");
    for (const QString& tick : m_userTicks) {
        const auto* box = qobject_cast<const QCheckBox*>(m_controls.control(tick));
        if (box && (box->isChecked() || record.readString(text(RecordLayout::Sites), tick, absent) != absent))
            record.writeBool(text(RecordLayout::Sites), tick, box->isChecked());
    }
    record.commit();
}

void RecordStore::compnameEnter()
{
    if (const auto names = readLineFile(dataPath(QStringLiteral("companies"), QStringLiteral(".dat"))))
        replaceComboItems(m_company.compname(), *names);
}

void RecordStore::compnameChange()
{
    const QString name = m_company.compname()->currentText();
    if (!isSafeRecordName(name))
        return;
    const QString path = dataPath(name, QStringLiteral(".dat"));
    if (!QFileInfo(path).isFile())
        return;
    const ProfileFile file(path);
    for (const RecordKey& key : RecordLayout::companyKeys())
        setControlText(control(key.control), file.readString(text(RecordLayout::Company), text(key.key)));
}

void RecordStore::savecompanyClick()
{
    addCompanyToList();
    writeCompanyRecord();
}

void RecordStore::addCompanyToList()
{
    const QString name = m_company.compname()->currentText();
    // A name that cannot have a record of its own is refused before anything is written.
    if (!isSafeRecordName(name))
        throw EWriteError(dataPath(name, QStringLiteral(".dat")));
    // The list lives in the data folder, so the folder must be there before the list is written.
    ensureDataFolder();
    addToNameList(dataPath(QStringLiteral("companies"), QStringLiteral(".dat")), m_company.compname(), name);
}

void RecordStore::writeCompanyRecord()
{
    const QString name = m_company.compname()->currentText();
    const QString path = dataPath(name, QStringLiteral(".dat"));
    if (!isSafeRecordName(name))
        throw EWriteError(path);
    ensureDataFolder();
    ProfileFile file(path);
    writeControls(file, RecordLayout::Company, RecordLayout::companyKeys());
    file.commit();
}
