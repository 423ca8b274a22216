// Input rules of the listing fields.
#include "app/TForm1.h"

#include "app/ControlText.h"
#include "app/InputRules.h"
#include "core/Dialogs.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

void TForm1::char8nameExit()
{
    const QString text = char8name->text();
    if (!isAcceptable8CharName(text)) {
        dialogs().showMessage(QStringLiteral("You can only have alpha-numeric values in this field."));
        char8name->clear();
        char8name->setFocus(Qt::OtherFocusReason);
        return;
    }
    char8name->setText(text.toLower());
}

void TForm1::dateExit()
{
    rebuildLongdate();
}

void TForm1::rebuildLongdate()
{
    // On a conversion error longdate keeps the part built so far and ldatel is not updated.
    buildLongDate(day->text(), month->text(), year->text(), longdate);
    ldatel->setText(longdate);
}

bool TForm1::digitKeyPress(QKeyEvent* event)
{
    // Only typed characters are filtered: keys with Ctrl or Alt (paste, menu accelerators) and
    // keys that type nothing printable (Tab, arrows) pass.
    const QString typed = event->text();
    if (typed.isEmpty() || (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)))
        return false;
    const QChar c = typed.front();
    if (passesDigitFilter(c) || !c.isPrint())
        return false;
    dialogs().beep();
    return true;
}

void TForm1::browseClick()
{
    const QString path = dialogs().openFileName(
        {QStringLiteral("Select your program"), QStringLiteral("Programs|*.ZIP;*.EXE"), QStringLiteral("EXE"), {}});
    if (!path.isEmpty())
        localpath->setText(path);
}

namespace {

void wrapMemo(QPlainTextEdit* memo)
{
    const QString text = memoText(memo);
    const QString wrapped = wrapLines(text);
    if (wrapped != text)
        memo->setPlainText(wrapped);
}

} // namespace

void TForm1::longdescwrap()
{
    wrapMemo(longdesc);
}

void TForm1::memo2wrap()
{
    wrapMemo(Memo2);
}
