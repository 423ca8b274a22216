#pragma once

#include <QString>

class QWidget;

// The text a control holds, whatever its kind: edit, drop-down list, memo, label, button or list
// (a list gives its lines joined by LF). Empty for anything else.
QString controlText(const QWidget* control);
// Puts text into a control without running any of its user-change handlers.
void setControlText(QWidget* control, const QString& text);
