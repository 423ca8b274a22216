#include "app/PickList.h"

#include <QAbstractItemView>
#include <QScrollBar>
#include <QWheelEvent>

PickList::PickList(QWidget* parent)
    : QComboBox(parent)
{
    // The default (WheelFocus) would let the wheel take the focus, and then the value.
    setFocusPolicy(Qt::StrongFocus);
}

void PickList::wheelEvent(QWheelEvent* event)
{
    if (!hasFocus()) {
        // Left to the page behind, which scrolls.
        event->ignore();
        return;
    }
    QComboBox::wheelEvent(event);
}

void PickList::showPopup()
{
    const QFontMetrics metrics = view()->fontMetrics();
    int widest = 0;
    for (int i = 0; i < count(); ++i)
        widest = qMax(widest, metrics.horizontalAdvance(itemText(i)));
    // Room for the item margins and the scroll bar a long list shows.
    const int needed = widest + 4 * metrics.averageCharWidth() + view()->verticalScrollBar()->sizeHint().width();
    view()->setMinimumWidth(qMax(width(), needed));
    QComboBox::showPopup();
}
