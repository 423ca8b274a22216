#include "app/ListEnd.h"

#include <QEvent>
#include <QListWidget>

namespace {

constexpr const char* PendingProperty = "quilletScrollPending";
constexpr const char* WatchedProperty = "quilletScrollOnShow";

// Scrolls a list with a pending scroll when it shows.
class ScrollOnShow : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show && watched->property(PendingProperty).toBool()) {
            watched->setProperty(PendingProperty, false);
            // After the show's own layout, which would put the scroll bar back at the top.
            QMetaObject::invokeMethod(
                static_cast<QListWidget*>(watched), &QListWidget::scrollToBottom, Qt::QueuedConnection);
        }
        return false;
    }
};

} // namespace

void addLineAtEnd(QListWidget* list, const QString& line)
{
    list->addItem(line);
    if (list->isVisible()) {
        list->scrollToBottom();
        return;
    }
    if (!list->property(WatchedProperty).toBool()) {
        list->installEventFilter(new ScrollOnShow(list));
        list->setProperty(WatchedProperty, true);
    }
    list->setProperty(PendingProperty, true);
}
