#pragma once

#include "pad/ListingCheck.h"

#include <vector>

struct CommandLine;
class TForm1;

// The command line's PAD and check modes, run on a hidden main window: "--import-pad FILE|URL",
// "--export-pad NAME FILE" and "--check NAME". Each loads and stores records the way the window
// does, through its controls.
namespace PadBatch {

// Exit codes of --check (and of --submit refused by the check).
enum CheckCode { Clean = 0, WarningsOnly = 4, Errors = 5 };

int importPad(const CommandLine& line);
int exportPad(const CommandLine& line);
int check(const CommandLine& line);

// The check of the record the window holds, with its settings, tick boxes and catalogue.
std::vector<Finding> checkWindow(TForm1& form);
// Prints the findings to stderr, one a line, and a count.
void printFindings(const std::vector<Finding>& findings);

} // namespace PadBatch
