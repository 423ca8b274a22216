#pragma once

#include "pad/ListingCheck.h"

#include <vector>

struct CommandLine;

// The command line's PAD and check modes, run on a hidden main window: "--import-pad FILE|URL",
// "--export-pad NAME FILE" and "--check NAME".
namespace PadBatch {

// Exit codes of --check (and of --submit stopped by the check).
enum CheckCode { Clean = 0, WarningsOnly = 4, Errors = 5 };

int importPad(const CommandLine& line);
int exportPad(const CommandLine& line);
int check(const CommandLine& line);

} // namespace PadBatch
