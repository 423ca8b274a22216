#include "app/ControlText.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTextDocument>

#include <optional>

namespace {

// A memo's text as last taken, in both forms, until the document changes. The edit check, the
// save and a run each take a long description several times, and each taking reads the whole
// document.
class TakenMemoText : public QObject
{
public:
    explicit TakenMemoText(QTextDocument* document)
        : QObject(document)
    {
        setObjectName(QStringLiteral("takenMemoText"));
        // contentsChange comes before the change is announced to the memo's own handlers, which
        // may take the text again; contentsChanged covers a change made inside that signal.
        connect(document, &QTextDocument::contentsChange, this, &TakenMemoText::forget);
        connect(document, &QTextDocument::contentsChanged, this, &TakenMemoText::forget);
    }

    std::optional<QString> lf;
    std::optional<QString> crLf;

private:
    void forget()
    {
        lf.reset();
        crLf.reset();
    }
};

TakenMemoText& taken(const QPlainTextEdit* memo)
{
    QTextDocument* document = memo->document();
    if (auto* kept = document->findChild<QObject*>(QStringLiteral("takenMemoText"), Qt::FindDirectChildrenOnly))
        return *static_cast<TakenMemoText*>(kept);
    return *new TakenMemoText(document);
}

} // namespace

QString memoText(const QPlainTextEdit* memo)
{
    TakenMemoText& t = taken(memo);
    if (!t.lf) {
        QString text = memo->document()->toRawText();
        text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
        t.lf = std::move(text);
    }
    return *t.lf;
}

QString memoTextWithCrLf(const QPlainTextEdit* memo)
{
    TakenMemoText& t = taken(memo);
    if (!t.crLf)
        t.crLf = QString(memoText(memo)).replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    return *t.crLf;
}

QString controlText(const QWidget* control)
{
    if (const auto* edit = qobject_cast<const QLineEdit*>(control))
        return edit->text();
    if (const auto* box = qobject_cast<const QComboBox*>(control))
        return box->currentText();
    if (const auto* memo = qobject_cast<const QPlainTextEdit*>(control))
        return memoText(memo);
    if (const auto* label = qobject_cast<const QLabel*>(control))
        return label->text();
    if (const auto* button = qobject_cast<const QAbstractButton*>(control))
        return button->text();
    if (const auto* list = qobject_cast<const QListWidget*>(control)) {
        QStringList lines;
        for (int i = 0; i < list->count(); ++i)
            lines.append(list->item(i)->text());
        return lines.join(QLatin1Char('\n'));
    }
    return {};
}

void setControlText(QWidget* control, const QString& text)
{
    // A text put into a field shows from its start, as a loaded value should, not scrolled to its end.
    if (auto* edit = qobject_cast<QLineEdit*>(control)) {
        if (edit->text() != text) {
            edit->setText(text);
            edit->setCursorPosition(0);
        }
    } else if (auto* box = qobject_cast<QComboBox*>(control)) {
        if (box->currentText() != text) {
            if (box->isEditable()) {
                box->setEditText(text);
                box->lineEdit()->setCursorPosition(0);
            } else {
                box->setCurrentIndex(box->findText(text));
            }
        }
    } else if (auto* memo = qobject_cast<QPlainTextEdit*>(control)) {
        // Setting a memo lays out its whole text again: skip it when nothing changes.
        if (memoText(memo) != text)
            memo->setPlainText(text);
    } else if (auto* label = qobject_cast<QLabel*>(control)) {
        label->setText(text);
    } else if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        button->setText(text);
    }
}
