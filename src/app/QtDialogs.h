#pragma once

#include "core/Dialogs.h"

// The program's dialogs: Qt's message boxes, file dialogs and print dialog.
class QtDialogs : public Dialogs
{
public:
    void showMessage(const QString& text) override;
    void showError(const QString& text) override;
    Answer askYesNoCancel(const QString& text, bool withCancel = true) override;
    bool askTwoWay(const QString& text, const QString& first, const QString& second) override;
    QString openFileName(const FileRequest& request) override;
    QString saveFileName(const FileRequest& request) override;
    bool choosePrinter(QPrinter& printer) override;
    void beep() override;

    // "Text files|*.TXT|All|*.*" in Qt's form: "Text files (*.TXT *.txt);;All (*.*)". Upper-case
    // patterns also match lower-case names, as they do on the system the filters were written for.
    static QString qtFilter(const QString& filter);
};
