#include "app/QtDialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>

namespace {

QWidget* owner()
{
    return QApplication::activeWindow();
}

QString fileName(const Dialogs::FileRequest& request, QFileDialog::AcceptMode mode)
{
    QFileDialog dialog(owner(), request.title);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setNameFilter(QtDialogs::qtFilter(request.filter));
    dialog.setDefaultSuffix(request.defaultExt);
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

} // namespace

QString QtDialogs::qtFilter(const QString& filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns;
        for (const QString& pattern : parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            patterns.append(pattern);
            if (pattern.toLower() != pattern)
                patterns.append(pattern.toLower());
        }
        filters.append(parts[i] + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')'));
    }
    return filters.join(QStringLiteral(";;"));
}

void QtDialogs::showMessage(const QString& text)
{
    QMessageBox::information(owner(), QApplication::applicationName(), text);
}

void QtDialogs::showError(const QString& text)
{
    QMessageBox::critical(owner(), QApplication::applicationName(), text);
}

Dialogs::Answer QtDialogs::askYesNoCancel(const QString& text, bool withCancel)
{
    QMessageBox::StandardButtons buttons = QMessageBox::Yes | QMessageBox::No;
    if (withCancel)
        buttons |= QMessageBox::Cancel;
    switch (QMessageBox::question(owner(), QApplication::applicationName(), text, buttons)) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return withCancel ? Answer::Cancel : Answer::No;
    }
}

bool QtDialogs::askTwoWay(const QString& text, const QString& first, const QString& second)
{
    QMessageBox box(QMessageBox::Question, QApplication::applicationName(), text, QMessageBox::NoButton, owner());
    QPushButton* yes = box.addButton(first, QMessageBox::AcceptRole);
    QPushButton* no = box.addButton(second, QMessageBox::RejectRole);
    // The safe answer is the default: Enter sends nothing.
    box.setDefaultButton(no);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

QString QtDialogs::openFileName(const FileRequest& request)
{
    return fileName(request, QFileDialog::AcceptOpen);
}

QString QtDialogs::saveFileName(const FileRequest& request)
{
    return fileName(request, QFileDialog::AcceptSave);
}

bool QtDialogs::choosePrinter(QPrinter& printer)
{
    QPrintDialog dialog(&printer, owner());
    return dialog.exec() == QDialog::Accepted;
}

void QtDialogs::beep()
{
    QApplication::beep();
}
