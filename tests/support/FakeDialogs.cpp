#include "support/FakeDialogs.h"

FakeDialogs::FakeDialogs()
    : m_previous(setDialogs(this))
{
}

FakeDialogs::~FakeDialogs()
{
    setDialogs(m_previous);
}

void FakeDialogs::showMessage(const QString& text)
{
    shown.append(text);
}

void FakeDialogs::showError(const QString& text)
{
    shown.append(text);
    errors.append(text);
}

Dialogs::Answer FakeDialogs::askYesNoCancel(const QString& text, bool)
{
    questions.append(text);
    return answers.isEmpty() ? Answer::Cancel : answers.takeFirst();
}

QString FakeDialogs::openFileName(const FileRequest& request)
{
    fileRequests.append(request);
    return fileNames.isEmpty() ? QString() : fileNames.takeFirst();
}

QString FakeDialogs::saveFileName(const FileRequest& request)
{
    return openFileName(request);
}

bool FakeDialogs::choosePrinter(QPrinter&)
{
    ++printDialogs;
    return acceptPrinter;
}

void FakeDialogs::beep()
{
    ++beeps;
}
