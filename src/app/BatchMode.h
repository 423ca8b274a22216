#pragma once

#include <QString>

#include <optional>

// The command line's batch mode: "quillet --submit NAME" submits one program from the current
// folder without showing the window, through the same "Save/Submit" button a user presses. Log
// lines go to stdout as they are added, message boxes to stderr.
class BatchMode
{
public:
    enum ExitCode { Completed = 0, NotCompleted = 1, Usage = 2 };

    // Handles --help and --submit; nothing when the command line asks for the window.
    static std::optional<int> fromCommandLine(int argc, char** argv);
    static QString helpText();

    // Runs the submission of program in the current folder. Needs a QApplication.
    static int submit(const QString& program);
};
