#pragma once

#include <QString>

class QWidget;

// The user guide ships inside the program and is put at a fixed path in the user's cache folder,
// where the system's browser can open it.
QString helpFilePath();
// Writes the guide to helpFilePath() unless it is there already; returns the path.
QString installHelpFile();
// Opens the guide at a section (an anchor) in the browser; where no browser can be started, in a
// window of its own (one per owner, brought to the front again on the next call).
void openHelpFile(QWidget* owner, const QString& section = QStringLiteral("contents"));
// The guide's HTML as it is built into the program; empty if it is missing.
QByteArray helpText();
