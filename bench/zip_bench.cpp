// Zips a 50 MB program file through TZipBuilder (level 9, the main window's setting) and through
// the `zip -9` command in the same run, each in a process of its own so that its time and peak
// memory are its own. Prints both, and the ratio of their processor times (wall time on a machine
// shared with other work says more about the other work). Targets: ratio at most 1.1, peak memory of
// the component's process under 60 MB (the file streams through).
//
// Usage: zip_bench [MEGABYTES] [RUNS]   (defaults 50 and 3; the best run of each counts)
#include "archive/TZipBuilder.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <random>
#include <vector>

#include <spawn.h>
#include <sys/resource.h>
#include <sys/time.h>
#include <sys/wait.h>

extern char** environ;

namespace {

// A program-like file: runs of text, of repeated code-like patterns and of noise, so that it packs
// to roughly half its size as real executables do.
bool writeProgramFile(const QString& path, qint64 megabytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    std::mt19937 random(1999);
    const char* const words[]
        = {"Save", "Submit", "listing ", "shareware ", "version ", "\r\n", "program ", "MZ", "PE"};
    QByteArray block;
    const qint64 total = megabytes * 1024 * 1024;
    while (file.size() < total) {
        block.clear();
        while (block.size() < 64 * 1024) {
            switch (random() % 3) {
            case 0:
                for (int i = 0; i < 40; ++i)
                    block += words[random() % 9];
                break;
            case 1:
                for (int i = 0; i < 64; ++i) {
                    const quint32 op = 0x8b480000u | (random() % 16);
                    block.append(reinterpret_cast<const char*>(&op), 4);
                }
                break;
            default:
                for (int i = 0; i < 200; ++i)
                    block += char(random());
            }
        }
        file.write(block.left(int(qMin<qint64>(block.size(), total - file.size()))));
    }
    return true;
}

struct Measure
{
    double seconds = 0; // processor time, user and system: steady on a shared machine
    double wall = 0;
    long peakKb = 0;
    int status = -1;
};

Measure runProcess(const std::vector<std::string>& args)
{
    std::vector<char*> argv;
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    timeval start{}, end{};
    gettimeofday(&start, nullptr);
    pid_t pid = 0;
    Measure m;
    if (posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0)
        return m;
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    gettimeofday(&end, nullptr);
    m.wall = double(end.tv_sec - start.tv_sec) + double(end.tv_usec - start.tv_usec) / 1e6;
    m.seconds = double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
        + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    m.peakKb = usage.ru_maxrss;
    m.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return m;
}

// The child: one Add of file to archive, as the main window does it.
int zipWithComponent(const char* archive, const char* file)
{
    TZipBuilder zip;
    zip.setLibraryDir(QStringLiteral(QUILLET_BINARY_DIR));
    zip.setAddCompLevel(9);
    zip.setZipFilename(QString::fromLocal8Bit(archive));
    zip.Load_Zip_Dll();
    zip.FSpecArgs().append(QString::fromLocal8Bit(file));
    zip.Add();
    return zip.SuccessCnt() == 1 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc == 4 && std::strcmp(argv[1], "--child") == 0)
        return zipWithComponent(argv[2], argv[3]);

    const qint64 megabytes = argc > 1 ? std::atoi(argv[1]) : 50;
    const int runs = std::max(1, argc > 2 ? std::atoi(argv[2]) : 3);
    QTemporaryDir dir;
    const QString program = dir.filePath(QStringLiteral("program.exe"));
    if (!writeProgramFile(program, megabytes)) {
        std::fprintf(stderr, "zip_bench: cannot write %s\n", qPrintable(program));
        return 1;
    }
    const std::string file = program.toStdString();
    const std::string ours = dir.filePath(QStringLiteral("ours.zip")).toStdString();
    const std::string theirs = dir.filePath(QStringLiteral("theirs.zip")).toStdString();

    Measure best[2];
    std::vector<double> ratios;
    for (int run = 0; run < runs; ++run) {
        QFile::remove(QString::fromStdString(ours));
        QFile::remove(QString::fromStdString(theirs));
        const Measure a = runProcess({argv[0], "--child", ours, file});
        const Measure b = runProcess({"zip", "-q", "-9", "-j", theirs, file});
        if (a.status != 0 || b.status != 0) {
            std::fprintf(stderr, "zip_bench: a zip run failed (component %d, zip %d)\n", a.status, b.status);
            return 1;
        }
        ratios.push_back(a.seconds / b.seconds);
        if (run == 0 || a.seconds < best[0].seconds)
            best[0] = a;
        if (run == 0 || b.seconds < best[1].seconds)
            best[1] = b;
    }
    const qint64 oursSize = QFile(QString::fromStdString(ours)).size();
    const qint64 theirsSize = QFile(QString::fromStdString(theirs)).size();
    std::printf("zip_bench: %lld MB program file, best of %d runs\n", static_cast<long long>(megabytes), runs);
    std::printf("  TZipBuilder + libqzip: %.2f s processor (%.2f s wall), peak memory %.1f MB, archive %lld bytes\n",
        best[0].seconds, best[0].wall, best[0].peakKb / 1024.0, static_cast<long long>(oursSize));
    std::printf("  zip -9:                %.2f s processor (%.2f s wall), peak memory %.1f MB, archive %lld bytes\n",
        best[1].seconds, best[1].wall, best[1].peakKb / 1024.0, static_cast<long long>(theirsSize));
    std::sort(ratios.begin(), ratios.end());
    std::printf("  time ratio (TZipBuilder / zip -9) per run: min %.2f, median %.2f, max %.2f (target at most 1.1)\n",
        ratios.front(), ratios[ratios.size() / 2], ratios.back());
    std::printf("  peak memory of the component's process: %.1f MB (target under 60 MB)\n", best[0].peakKb / 1024.0);
    return 0;
}
