#pragma once

#include <QString>

class QPlainTextEdit;
class QWidget;

// The text a control holds, whatever its kind: edit, drop-down list, memo, label, button or list
// (a list gives its lines joined by LF). Empty for anything else.
QString controlText(const QWidget* control);
// A memo's text exactly as typed, taken from its document once per change of the memo.
// (QPlainTextEdit::toPlainText turns non-breaking spaces into plain ones, which would change a
// stored description at every save.)
QString memoText(const QPlainTextEdit* memo);
// The same with CR LF between the lines, as the sites receive a memo.
QString memoTextWithCrLf(const QPlainTextEdit* memo);
// Puts text into a control without running any of its user-change handlers.
void setControlText(QWidget* control, const QString& text);
