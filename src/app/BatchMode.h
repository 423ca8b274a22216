#pragma once

#include "batch/BatchStart.h"

#include <optional>

// The batch modes that need the widget libraries (PAD import and export, the checks), and --submit
// where the window's program is started with it.
namespace BatchMode {

// --help, --version, --setup and the batch modes; nothing when the command line asks for the
// window. Makes the --base folder the current folder.
std::optional<int> fromCommandLine(int argc, char** argv);

} // namespace BatchMode
