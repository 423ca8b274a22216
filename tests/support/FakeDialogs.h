#pragma once

#include "core/Dialogs.h"

#include <QList>
#include <QStringList>

// Records what the program showed and answers as the test told it to. Installs itself on
// construction and restores the previous dialogs when destroyed.
class FakeDialogs : public Dialogs
{
public:
    FakeDialogs();
    ~FakeDialogs() override;

    void showMessage(const QString& text) override;
    void showError(const QString& text) override;
    Answer askYesNoCancel(const QString& text, bool withCancel) override;
    QString openFileName(const FileRequest& request) override;
    QString saveFileName(const FileRequest& request) override;
    bool choosePrinter(QPrinter& printer) override;
    void beep() override;

    // What was shown, in order: messages and errors alike.
    QStringList shown;
    QStringList errors;
    QStringList questions;
    QList<FileRequest> fileRequests;
    int beeps = 0;
    int printDialogs = 0;

    // Scripted answers, taken from the front; when empty: Cancel, an empty path, no printer.
    QList<Answer> answers;
    QStringList fileNames;
    bool acceptPrinter = false;

private:
    Dialogs* m_previous;
};
