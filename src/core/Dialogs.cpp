#include "core/Dialogs.h"

#include "core/Errors.h"
#include "core/TerminalText.h"

#include <cstdio>

namespace {

// Answers without asking anyone: the safe default, and every text on stderr.
class ConsoleDialogs : public Dialogs
{
public:
    void showMessage(const QString& text) override { print(text); }
    void showError(const QString& text) override { print(text); }
    Answer askYesNoCancel(const QString& text, bool withCancel) override
    {
        print(text);
        return withCancel ? Answer::Cancel : Answer::No;
    }
    QString openFileName(const FileRequest&) override { return {}; }
    QString saveFileName(const FileRequest&) override { return {}; }
    bool choosePrinter(QPrinter&) override { return false; }
    void beep() override { }

private:
    static void print(const QString& text)
    {
        std::fprintf(stderr, "%s\n", terminalSafe(text).toLocal8Bit().constData());
        std::fflush(stderr);
    }
};

ConsoleDialogs g_console;
Dialogs* g_current = &g_console;

} // namespace

Dialogs& dialogs()
{
    return *g_current;
}

Dialogs* setDialogs(Dialogs* d)
{
    Dialogs* previous = g_current;
    g_current = d ? d : &g_console;
    return previous;
}

void handleError(const std::exception& error)
{
    if (const auto* own = dynamic_cast<const QuilletError*>(&error))
        dialogs().showError(own->message());
    else
        dialogs().showError(QString::fromLocal8Bit(error.what()));
}

void handleCurrentException()
{
    try {
        throw;
    } catch (const std::exception& e) {
        handleError(e);
    } catch (...) {
        dialogs().showError(QStringLiteral("Unknown error"));
    }
}

bool Dialogs::askTwoWay(const QString& text, const QString& first, const QString& second)
{
    return askYesNoCancel(QStringLiteral("%1\n\nYes: %2. No: %3.").arg(text, first, second), false) == Answer::Yes;
}
