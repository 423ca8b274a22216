// Unsaved edits: the record shown is compared with what was last loaded or saved, and nothing
// that would replace the edits goes ahead without asking.
#include "app/RecordStore.h"

#include "app/AppInfoPage.h"
#include "app/ControlRegistry.h"
#include "app/ControlText.h"
#include "app/DescriptionPage.h"
#include "app/GeneralPage.h"
#include "batch/RecordLayout.h"
#include "core/Dialogs.h"
#include "core/RecordName.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QPlainTextEdit>

QStringList RecordStore::recordSnapshot() const
{
    QStringList values;
    auto add = [&](std::span<const RecordKey> keys) {
        for (const RecordKey& key : keys) {
            if (key.key != RecordLayout::NameKey)
                values.append(controlText(control(key.control)));
        }
    };
    add(RecordLayout::companyKeys());
    add(RecordLayout::appInfoKeys());
    add(RecordLayout::categoryKeys());
    values.append(memoText(m_appInfo.description()->longdesc()));
    values.append(memoText(m_appInfo.description()->Memo2()));
    QString ticks;
    for (QLatin1StringView name : RecordLayout::tickBoxes())
        ticks += static_cast<const QCheckBox*>(control(name))->isChecked() ? QLatin1Char('1') : QLatin1Char('0');
    for (const QString& name : m_userTicks) {
        const auto* box = qobject_cast<const QCheckBox*>(m_controls.control(name));
        ticks += box && box->isChecked() ? QLatin1Char('1') : QLatin1Char('0');
    }
    values.append(ticks);
    return values;
}

bool RecordStore::hasUnsavedEdits() const
{
    return recordSnapshot() != m_savedSnapshot;
}

void RecordStore::markSaved()
{
    m_shownName = programName();
    m_savedSnapshot = recordSnapshot();
    emit recordSaved();
}

bool RecordStore::hasRecord(const QString& name) const
{
    // An empty name has no record, whatever ".dat" may hold (an unnamed company's record).
    return !name.isEmpty() && isSafeRecordName(name) && QFileInfo(dataPath(name, QStringLiteral(".dat"))).isFile();
}

bool RecordStore::mayDropUnsavedEdits()
{
    if (!hasUnsavedEdits())
        return true;
    if (m_shownName.isEmpty()) {
        // Nothing to save them under: they go only when the user says so.
        return dialogs().askYesNoCancel(
                   QStringLiteral("The fields hold changes that belong to no program yet. Discard them?"), false)
            == Dialogs::Answer::Yes;
    }
    switch (dialogs().askYesNoCancel(QStringLiteral("Would you like to save %1?").arg(m_shownName))) {
    case Dialogs::Answer::Yes: {
        // The record is saved under the name it was shown with, not the one being typed.
        QComboBox* appname = m_appInfo.general()->appname();
        const QString typed = appname->currentText();
        setControlText(appname, m_shownName);
        const bool saved = guarded([this] { savesite(); });
        if (saved)
            setControlText(appname, typed);
        return saved;
    }
    case Dialogs::Answer::No:
        return true;
    default:
        return false;
    }
}

bool RecordStore::mayLoad(const QString& name)
{
    if (!hasUnsavedEdits())
        return true;
    // A new record being named as it is typed keeps its fields, as long as no record has that name.
    if (!hasRecord(m_shownName) && !hasRecord(name)) {
        m_shownName = name;
        return false;
    }
    if (mayDropUnsavedEdits())
        return true;
    setControlText(m_appInfo.general()->appname(), m_shownName);
    return false;
}
