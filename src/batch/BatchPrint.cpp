#include "batch/BatchPrint.h"

#include "core/TerminalText.h"

void printLine(FILE* stream, const QString& text)
{
    std::fputs(terminalSafe(text).toLocal8Bit().constData(), stream);
    std::fputc('\n', stream);
    std::fflush(stream);
}
