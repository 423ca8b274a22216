// Unsaved edits: the record shown is compared with what was last loaded or saved, the caption
// says when they differ, and nothing that would replace the edits goes ahead without asking.
#include "app/TForm1.h"

#include "app/ControlText.h"
#include "app/RecordLayout.h"
#include "core/Dialogs.h"
#include "core/RecordName.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTimer>

namespace {

const QString Caption = QStringLiteral("Quillet 1.20b");

} // namespace

QStringList TForm1::recordSnapshot() const
{
    QStringList values;
    auto add = [&](std::span<const RecordKey> keys) {
        for (const RecordKey& key : keys) {
            if (key.key != RecordLayout::NameKey)
                values.append(controlText(control(QString(key.control))));
        }
    };
    add(RecordLayout::companyKeys());
    add(RecordLayout::appInfoKeys());
    add(RecordLayout::categoryKeys());
    values.append(memoText(longdesc));
    values.append(memoText(Memo2));
    QString ticks;
    for (QLatin1StringView name : RecordLayout::tickBoxes())
        ticks
            += static_cast<const QCheckBox*>(control(QString(name)))->isChecked() ? QLatin1Char('1') : QLatin1Char('0');
    values.append(ticks);
    return values;
}

bool TForm1::hasUnsavedEdits() const
{
    return recordSnapshot() != m_savedSnapshot;
}

void TForm1::markSaved()
{
    m_shownName = appname->currentText();
    m_savedSnapshot = recordSnapshot();
    updateCaption();
}

void TForm1::updateCaption()
{
    // The comparison reads every memo: during a run it waits for the run's end, where
    // submitClick() brings the caption up to date.
    if (submission.isRunning()) {
        m_captionPending = true;
        return;
    }
    m_captionPending = false;
    setWindowTitle(hasUnsavedEdits() ? Caption + QStringLiteral(" *") : Caption);
}

void TForm1::watchRecordEdits()
{
    // Many controls change at once when a record loads: the caption is brought up to date once,
    // when the change is over.
    auto schedule = [this] {
        if (!m_captionPending) {
            m_captionPending = true;
            QTimer::singleShot(0, this, [this] { updateCaption(); });
        }
    };
    for (QWidget* widget : controls()) {
        if (widget == appname)
            continue;
        if (auto* edit = qobject_cast<QLineEdit*>(widget))
            connect(edit, &QLineEdit::textChanged, this, schedule);
        else if (auto* box = qobject_cast<QComboBox*>(widget))
            connect(box, &QComboBox::currentTextChanged, this, schedule);
        else if (auto* memo = qobject_cast<QPlainTextEdit*>(widget))
            connect(memo, &QPlainTextEdit::textChanged, this, schedule);
        else if (auto* tick = qobject_cast<QCheckBox*>(widget))
            connect(tick, &QCheckBox::toggled, this, schedule);
    }
    markSaved();
}

bool TForm1::hasRecord(const QString& name) const
{
    // An empty name has no record, whatever ".dat" may hold (an unnamed company's record).
    return !name.isEmpty() && isSafeRecordName(name) && QFileInfo(dataPath(name, QStringLiteral(".dat"))).isFile();
}

bool TForm1::mayDropUnsavedEdits()
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

bool TForm1::mayLoad(const QString& name)
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
    setControlText(appname, m_shownName);
    return false;
}
