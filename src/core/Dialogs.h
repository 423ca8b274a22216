#pragma once

#include <QString>
#include <QStringList>
#include <exception>

class QPrinter;

// Every message box, file dialog and print dialog goes through this interface: the window uses
// Qt's dialogs, tests use a scripted fake, and the batch mode prints to stderr and answers the safe
// default. Nothing else in the program opens a modal dialog.
class Dialogs
{
public:
    enum class Answer { Ok, Yes, No, Cancel };

    struct FileRequest
    {
        QString title;
        QString filter; // "Text files|*.txt|All files|*.*"
        QString defaultExt; // without the dot
        QString fileName; // proposed name or folder
    };

    virtual ~Dialogs() = default;

    // A plain message box with an OK button.
    virtual void showMessage(const QString& text) = 0;
    // The general error handler's box.
    virtual void showError(const QString& text) = 0;
    // A question with Yes, No and (when withCancel) Cancel buttons.
    virtual Answer askYesNoCancel(const QString& text, bool withCancel = true) = 0;
    // A question with two buttons of its own ("Send anyway", "Go back"); true for the first. Unless
    // overridden it is asked as a Yes/No question, Yes standing for the first.
    virtual bool askTwoWay(const QString& text, const QString& first, const QString& second);
    // The chosen path, or an empty text when the user cancelled.
    virtual QString openFileName(const FileRequest& request) = 0;
    virtual QString saveFileName(const FileRequest& request) = 0;
    // Shows the print dialog for printer; false when the user cancelled.
    virtual bool choosePrinter(QPrinter& printer) = 0;
    // The standard system beep.
    virtual void beep() = 0;
};

// The dialogs in use. The program installs one at start-up; until then a stderr-only fallback answers.
Dialogs& dialogs();
// Installs d (not owned) as the dialogs in use and returns the previous one.
Dialogs* setDialogs(Dialogs* d);

// The application's general error handler: shows the error's message through dialogs().
// Every slot and event handler that can fail ends in a call to this at its own boundary.
void handleError(const std::exception& error);
void handleCurrentException();

// Runs f, handing any error it raises to the general error handler. Returns false when f failed.
template <typename F>
bool guarded(F&& f)
{
    try {
        f();
        return true;
    } catch (...) {
        handleCurrentException();
        return false;
    }
}
