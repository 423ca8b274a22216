#pragma once

#include <QString>

struct CommandLine;

#include <optional>

// The command line's modes that show no window. "quillet --submit NAME" submits one program from
// the base folder through the same "Save/Submit" button a user presses: log lines go to stdout as
// they are added, message boxes to stderr.
namespace BatchMode {

// Completed: every ticked site was sent; NotAllSent: the run completed with sites failed,
// skipped or refused; NotCompleted: the run ended early or did not start.
enum ExitCode { Completed = 0, NotCompleted = 1, Usage = 2, NotAllSent = 3 };

// --help, --version, --setup, --submit and refused command lines; nothing when the command
// line asks for the window. Makes the --base folder the current folder.
std::optional<int> fromCommandLine(int argc, char** argv);
QString helpText();

// Runs the submission of program in the current folder. Needs a QApplication.
int submit(const CommandLine& line);

} // namespace BatchMode
