#include "app/Startup.h"

// What the quillet executable calls for everything but a command-line submission.
extern "C" __attribute__((visibility("default"))) int quillet_window_main(int argc, char** argv)
{
    return runQuillet(argc, argv);
}
