#pragma once

#include <QString>

// The user guide ships inside the program and is put at a fixed path in the user's cache folder,
// where the system's browser can open it.
QString helpFilePath();
// Writes the guide to helpFilePath() unless it is there already; returns the path.
QString installHelpFile();
// Opens the guide at its contents page.
void openHelpFile();
