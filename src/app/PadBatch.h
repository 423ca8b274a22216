#pragma once

#include "pad/ListingCheck.h"

#include <vector>

struct CommandLine;

// The command line's PAD modes, run on a hidden main window: "--import-pad FILE|URL" and
// "--export-pad NAME FILE".
namespace PadBatch {

int importPad(const CommandLine& line);
int exportPad(const CommandLine& line);

} // namespace PadBatch
