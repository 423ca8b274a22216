#include "app/FileMenu.h"

#include <QAction>
#include <QMenu>

namespace FileMenu {

QAction* addBeforeExit(QWidget& window, const QString& text, const QString& objectName)
{
    auto* file = window.findChild<QMenu*>(QStringLiteral("File1"));
    if (!file)
        return nullptr;
    QAction* before = nullptr;
    for (QAction* action : file->actions()) {
        if (action->isSeparator())
            before = action;
    }
    auto* entry = new QAction(text, file);
    entry->setObjectName(objectName);
    file->insertAction(before, entry);
    return entry;
}

} // namespace FileMenu
