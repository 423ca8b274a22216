// The run log's saving and printing, and the save prompt when the window closes.
#include "app/TForm1.h"

#include "app/LogPrinter.h"
#include "core/Dialogs.h"
#include "core/Errors.h"
#include "core/LineFile.h"

#include <QComboBox>
#include <QListWidget>
#include <QPrinter>

namespace {

QStringList lines(const QListWidget* list)
{
    QStringList result;
    result.reserve(list->count());
    for (int i = 0; i < list->count(); ++i)
        result.append(list->item(i)->text());
    return result;
}

} // namespace

void TForm1::saveClick()
{
    const Dialogs::FileRequest request{QStringLiteral("Save Quillet Log"), QStringLiteral("Text files|*.TXT"),
        QStringLiteral("TXT"), QStringLiteral("qtlog.txt")};
    const QString path = dialogs().saveFileName(request);
    if (path.isEmpty())
        return;
    writeLineFile(path, lines(log()));
}

void TForm1::printClick()
{
    if (log()->count() == 0) {
        dialogs().showMessage(QStringLiteral("You do not have a log to print."));
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    if (!dialogs().choosePrinter(printer))
        return;
    if (!LogPrinter::print(printer, lines(log()), log()->font(), appname()->currentText()))
        throw QuilletError(QStringLiteral("Unable to print the log"));
}

bool TForm1::FormCloseQuery()
{
    // Nothing unsaved and no run to lose, nothing to ask.
    if (!hasUnsavedEdits() && !m_run->submission().isRunning())
        return true;
    const QString name = appname()->currentText();
    if (name.isEmpty())
        return mayDropUnsavedEdits();
    switch (dialogs().askYesNoCancel(QStringLiteral("Would you like to save %1?").arg(name))) {
    case Dialogs::Answer::Yes:
        // A save that fails keeps the window open, so the record is not lost with it.
        return guarded([this] { savesite(); });
    case Dialogs::Answer::No:
        return true;
    default:
        return false;
    }
}
