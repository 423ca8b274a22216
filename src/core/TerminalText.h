#pragma once

#include <QString>

// Text bound for a terminal, made inert: a server's reply text can hold escape sequences that
// clear the screen, move the cursor or fake output. Every control character but the line feed
// and the tab is shown as "\xNN" (C1 controls as "\u00NN"); everything else stays as it is.
QString terminalSafe(const QString& text);
