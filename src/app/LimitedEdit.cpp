#include "app/LimitedEdit.h"

#include "core/Dialogs.h"

#include <QPainter>
#include <QScopedValueRollback>
#include <QToolTip>
#include <QValidator>

// Cuts what the user inserts to the room there is: the inserted part is found as what lies between
// the text's unchanged start and end, and only its tail is dropped.
class LimitedEdit::Limit : public QValidator
{
public:
    explicit Limit(LimitedEdit* edit)
        : QValidator(edit)
        , m_edit(edit)
    {
    }

    State validate(QString& input, int& pos) const override
    {
        const int limit = m_edit->m_limit;
        if (input.size() <= limit)
            return Acceptable;
        if (!m_edit->m_userEditing)
            return Invalid; // the program's text: kept whole
        const QString& before = m_edit->m_accepted;
        qsizetype start = 0;
        while (start < before.size() && start < input.size() && before[start] == input[start])
            ++start;
        qsizetype end = 0;
        while (end < before.size() - start && end < input.size() - start
            && before[before.size() - 1 - end] == input[input.size() - 1 - end])
            ++end;
        const qsizetype inserted = input.size() - start - end;
        const qsizetype room = std::max<qsizetype>(0, limit - (input.size() - inserted));
        if (room >= inserted || before.size() > limit)
            return Invalid; // not an insertion, or the program's longer text being edited
        input = input.left(start + room) + input.right(end);
        pos = static_cast<int>(start + room);
        m_edit->reportCut(static_cast<int>(inserted - room));
        return Acceptable;
    }

private:
    LimitedEdit* m_edit;
};

LimitedEdit::LimitedEdit(const QString& text, int limit, QWidget* parent)
    : QLineEdit(text, parent)
    , m_limit(limit)
    , m_accepted(text)
{
    setValidator(new Limit(this));
    connect(this, &QLineEdit::textChanged, this, [this](const QString& now) {
        m_accepted = now;
        update();
    });
}

QString LimitedEdit::roomText() const
{
    const qsizetype left = m_limit - text().size();
    return left < 0 ? QString() : QStringLiteral("%1 left").arg(left);
}

void LimitedEdit::reportCut(int cut)
{
    m_lastCut = cut;
    dialogs().beep();
    const QString message = cut == 1 ? QStringLiteral("1 character did not fit (%2 at most)").arg(m_limit)
                                     : QStringLiteral("%1 characters did not fit (%2 at most)").arg(cut).arg(m_limit);
    QToolTip::showText(mapToGlobal(QPoint(0, height())), message, this);
}

void LimitedEdit::focusInEvent(QFocusEvent* event)
{
    QLineEdit::focusInEvent(event);
    // Room for the count at the right, so the text never runs under it.
    setTextMargins(0, 0, fontMetrics().horizontalAdvance(QStringLiteral("99 left ")), 0);
}

void LimitedEdit::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    setTextMargins(0, 0, 0, 0);
}

void LimitedEdit::paintEvent(QPaintEvent* event)
{
    QLineEdit::paintEvent(event);
    if (!hasFocus() || isReadOnly())
        return;
    QPainter p(this);
    p.setPen(palette().color(QPalette::PlaceholderText));
    p.drawText(rect().adjusted(0, 0, -4, 0), Qt::AlignRight | Qt::AlignVCenter, roomText());
}

void LimitedEdit::keyPressEvent(QKeyEvent* event)
{
    const QScopedValueRollback user(m_userEditing, true);
    m_lastCut = 0;
    QLineEdit::keyPressEvent(event);
}

void LimitedEdit::inputMethodEvent(QInputMethodEvent* event)
{
    const QScopedValueRollback user(m_userEditing, true);
    m_lastCut = 0;
    QLineEdit::inputMethodEvent(event);
}

void LimitedEdit::contextMenuEvent(QContextMenuEvent* event)
{
    const QScopedValueRollback user(m_userEditing, true);
    m_lastCut = 0;
    QLineEdit::contextMenuEvent(event);
}

void LimitedEdit::mouseReleaseEvent(QMouseEvent* event)
{
    const QScopedValueRollback user(m_userEditing, true);
    m_lastCut = 0;
    QLineEdit::mouseReleaseEvent(event);
}

void LimitedEdit::dropEvent(QDropEvent* event)
{
    const QScopedValueRollback user(m_userEditing, true);
    m_lastCut = 0;
    QLineEdit::dropEvent(event);
}
