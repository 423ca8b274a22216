#pragma once

#include <QString>

#include <cstdio>

// One line of a command-line mode's output, flushed at once. What a server or a file said reaches
// the terminal too: its control characters are shown, not obeyed.
void printLine(FILE* stream, const QString& text);
