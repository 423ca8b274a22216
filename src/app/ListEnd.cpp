#include "app/ListEnd.h"

#include <QEvent>
#include <QListWidget>

namespace {

// Scrolls a list to its end when it shows, if lines came while it was hidden. The flag is the
// filter's own: a property on the list is looked up by name through every class of the list's
// meta-object, and a run adds hundreds of lines to its hidden log and trace.
class ScrollOnShow : public QObject
{
public:
    static constexpr const char* Name = "quilletScrollOnShow";

    explicit ScrollOnShow(QListWidget* list)
        : QObject(list)
    {
        setObjectName(QLatin1String(Name));
        list->installEventFilter(this);
    }

    bool pending = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show && pending) {
            pending = false;
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
    auto* watch = static_cast<ScrollOnShow*>(
        list->findChild<QObject*>(QLatin1String(ScrollOnShow::Name), Qt::FindDirectChildrenOnly));
    if (!watch)
        watch = new ScrollOnShow(list);
    watch->pending = true;
}
