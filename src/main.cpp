#include "batch/BatchStart.h"
#include "batch/CommandLine.h"

#include <QCoreApplication>

#include <cstdio>
#include <dlfcn.h>
#include <malloc.h>

namespace {

// The window, and the batch modes that load records through it, live in a module of their own,
// loaded only when asked for: a submission or a listing check from the command line starts without
// loading or relocating a widget, font or display library. The module lies along the executable's
// RUNPATH.
int runWindowModule(int argc, char** argv)
{
    void* module = dlopen("libquillet_window.so", RTLD_NOW | RTLD_LOCAL);
    if (!module) {
        std::fprintf(stderr, "Quillet cannot load its window module: %s\n", dlerror());
        return BatchMode::NotCompleted;
    }
    using Entry = int (*)(int, char**);
    const auto entry = reinterpret_cast<Entry>(dlsym(module, "quillet_window_main"));
    if (!entry) {
        std::fprintf(stderr, "Quillet's window module has no entry: %s\n", dlerror());
        return BatchMode::NotCompleted;
    }
    return entry(argc, argv);
}

// A run builds and drops texts of megabytes for each site: they stay in the heap for the next one
// instead of being mapped, returned and faulted in again page by page. The run is short; the
// memory goes back when it ends.
void keepHeap()
{
    constexpr int Largest = 32 << 20; // the largest threshold the allocator takes
    mallopt(M_MMAP_THRESHOLD, Largest);
    mallopt(M_TRIM_THRESHOLD, 4 * Largest);
}

} // namespace

int main(int argc, char** argv)
{
    const CommandLine line = BatchMode::parse(argc, argv);
    const bool submit = line.action == CommandLine::Action::Submit;
    if (!submit && line.action != CommandLine::Action::Check)
        return runWindowModule(argc, argv);
    if (const std::optional<int> code = BatchMode::prepare(line))
        return *code;
    // The plain Unix event loop: the GLib one wakes itself through a system call each time a socket
    // notifier is turned off, which a transfer does around every wait.
    qputenv("QT_NO_GLIB", "1");
    // The run matches a few short fields against a pattern each, once: compiling the patterns to
    // machine code costs more than the matching itself.
    qputenv("QT_ENABLE_REGEXP_JIT", "0");
    // Each local time Qt gives first has the C library look whether the system's time zone file
    // changed, unless TZ names it: the same zone, without a file check per timestamp.
    if (!qEnvironmentVariableIsSet("TZ"))
        qputenv("TZ", ":/etc/localtime");
    keepHeap();
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Quillet"));
    return submit ? BatchMode::submit(line) : BatchMode::check(line);
}
