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
#include "batch/RecordFiles.h"
#include "batch/RecordLayout.h"
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
    return m_encoding.of(dataPath(name, QString()));
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
    const RecordValues values = RecordFiles::read(dataPath(name, QString()), isSafeRecordName(name), m_userTicks);
    for (const auto& [control, text] : values.texts)
        setControlText(m_controls.control(control), text);
    for (const auto& [box, ticked] : values.ticks) {
        if (auto* check = qobject_cast<QCheckBox*>(m_controls.control(box)))
            check->setChecked(ticked);
    }

    m_appInfo.general()->rebuildLongdate();
    markSaved();
}

void RecordStore::savesite()
{
    const QString name = programName();
    if (name.isEmpty())
        return;
    m_encoding.forget(); // a save may change it within the file times' resolution
    RecordFiles::saveProgram(
        m_basedir + QStringLiteral("/data"), name, m_company.compname()->currentText(),
        [this](const QString& control) { return textOf(control); },
        [this](const QString& box) {
            const auto* check = qobject_cast<const QCheckBox*>(m_controls.control(box));
            return check && check->isChecked();
        },
        m_userTicks,
        [this](RecordFiles::NameList list, const QString& path, const QString& added) {
            addToNameList(path,
                list == RecordFiles::NameList::Companies ? m_company.compname() : m_appInfo.general()->appname(),
                added);
        });
    markSaved();
}

QString RecordStore::textOf(const QString& control) const
{
    return controlText(m_controls.control(control));
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
    RecordFiles::writeCompany(path, [this](const QString& control) { return textOf(control); });
}
