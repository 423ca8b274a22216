#pragma once

// Starts the program: the window with its splash, or the batch mode when asked on the command line.
int runQuillet(int argc, char** argv);
