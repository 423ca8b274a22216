#include "app/PageLayout.h"

#include "app/ComboItems.h"
#include "app/LimitedEdit.h"
#include "app/PickList.h"

#include <QComboBox>
#include <QCompleter>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace {

// The completer a drop-down's edit holds while the box takes it (see dropDown). Making a completer
// costs as much as the rest of the box, so the boxes of one parent share one.
QCompleter* standInCompleter(QWidget* parent)
{
    const QString name = QStringLiteral("standInCompleter");
    if (auto* kept = parent->findChild<QCompleter*>(name, Qt::FindDirectChildrenOnly))
        return kept;
    auto* completer = new QCompleter(parent);
    completer->setObjectName(name);
    return completer;
}

} // namespace

namespace PageLayout {

QLabel* Placer::label(const QString& text, int gap)
{
    auto* l = new QLabel(text, m_page);
    const QSize hint = l->sizeHint();
    l->setGeometry(m_x, m_y + (FieldHeight - hint.height()) / 2, hint.width(), hint.height());
    m_x += hint.width() + gap;
    return l;
}

QComboBox* dropDown(QWidget* parent, const QStringList& items)
{
    auto* box = new PickList(parent);
    // Editable through a line edit of our own: setEditable(true) would also build the drop-down's
    // popup at once (about a quarter of a millisecond per box, with some sixty boxes in the window)
    // where the box builds it when it first drops down. The edit comes with a completer so that the
    // box does not make its own; typed text is the value: no completion at all.
    auto* edit = new QLineEdit(box);
    edit->setPalette(box->palette());
    edit->setCompleter(standInCompleter(parent));
    box->setLineEdit(edit);
    box->setCompleter(nullptr); // lets the stand-in go
    // No item added on Enter, items in their given order.
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setMaxVisibleItems(12);
    box->addItems(items);
    box->setCurrentIndex(-1);
    box->setEditText(QString());
    QObject::connect(box->lineEdit(), &QLineEdit::textChanged, box, [box] { selectMatchingItem(box); });
    return box;
}

QLineEdit* edit(QWidget* parent, const QString& text, int maxLength)
{
    QLineEdit* e = maxLength > 0 ? new LimitedEdit(text, maxLength, parent) : new QLineEdit(text, parent);
    e->setCursorPosition(0);
    return e;
}

QPlainTextEdit* memo(QWidget* parent)
{
    auto* m = new QPlainTextEdit(parent);
    m->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // Tab moves on to the next field, as in every other field of the window.
    m->setTabChangesFocus(true);
    return m;
}

} // namespace PageLayout
