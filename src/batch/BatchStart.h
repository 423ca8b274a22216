#pragma once

#include <QString>

#include <optional>

struct CommandLine;

// The command line's modes that show no window. "quillet --submit NAME" submits one program from
// the base folder as "Save/Submit" would, without building the window: log lines go to stdout as
// they are added, message boxes to stderr.
namespace BatchMode {

// Completed: every ticked site was sent (a check: nothing found); NotCompleted: the run ended early
// or did not start; NotAllSent: the run completed with sites failed, skipped or refused;
// ListingWarnings: the check found warnings only; ListingErrors: the listing check found errors (and
// a submission sent nothing).
enum ExitCode { Completed = 0, NotCompleted = 1, Usage = 2, NotAllSent = 3, ListingWarnings = 4, ListingErrors = 5 };

QString helpText();
CommandLine parse(int argc, char** argv);
// What needs no application: --help, --version, a refused command line and --setup, each with
// its exit status; the --base folder (or the one a start in the home folder chooses) made the
// current folder; for a batch mode, a base folder that is not set up refused and Qt's notes kept
// off standard error. Nothing when the command line goes on to a batch mode or the window.
std::optional<int> prepare(const CommandLine& line);
// --submit, --import-pad, --export-pad, --check, --check-endpoints.
bool isBatch(const CommandLine& line);

// Runs the submission of line.program in the current folder. Needs a QCoreApplication.
int submit(const CommandLine& line);
// --check: the listing check of line.program in the current folder, as a submission runs it first.
int check(const CommandLine& line);

} // namespace BatchMode
