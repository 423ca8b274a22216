#pragma once

#include <QString>

class QAction;
class QWidget;

namespace FileMenu {

// Adds an entry to the window's File menu, above the separator that sets Exit apart, named
// objectName. nullptr when the window has no File menu.
QAction* addBeforeExit(QWidget& window, const QString& text, const QString& objectName);

} // namespace FileMenu
