// Submission benchmark: "quillet --submit" on a copy of the sample folder with every HTTP site
// ticked, against the sandbox's recording HTTP server, compared in the same run with curl sending
// the very requests Quillet sent (bodies of the posts, File Mine's address), one curl process after
// another. Prints wall and CPU time (user +
// system of the client processes) per round and their ratios to curl (target: at most 1.0).
// Usage: submit_bench [--rounds N] [--quillet PATH]

#include "core/ProfileFile.h"
#include "submit/SiteCatalogue.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>
#include <vector>

namespace {

struct Cost
{
    double wall = 0;
    double cpu = 0;
    Cost& operator+=(const Cost& o)
    {
        wall += o.wall;
        cpu += o.cpu;
        return *this;
    }
};

double now()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

// Runs a program to its end in folder, output discarded; its own wall and CPU time, or -1 on failure.
Cost runMeasured(const QStringList& command, const QString& folder, int* status = nullptr)
{
    std::vector<QByteArray> args;
    for (const QString& a : command)
        args.push_back(a.toLocal8Bit());
    std::vector<char*> argv;
    for (QByteArray& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    const QByteArray dir = folder.toLocal8Bit();

    const double start = now();
    const pid_t pid = fork();
    if (pid == 0) {
        if (chdir(dir.constData()) != 0)
            _exit(127);
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, 1);
        dup2(null, 2);
        execv(argv[0], argv.data());
        _exit(127);
    }
    int code = 0;
    rusage usage{};
    if (pid < 0 || wait4(pid, &code, 0, &usage) != pid)
        return {-1, -1};
    if (status)
        *status = WIFEXITED(code) ? WEXITSTATUS(code) : -1;
    return {now() - start,
        double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
            + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6};
}

bool copyTree(const QString& from, const QString& to)
{
    QDirIterator it(from, QDir::Files | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        const QString target = to + file.mid(from.size());
        QDir().mkpath(QFileInfo(target).absolutePath());
        if (!QFile::copy(file, target))
            return false;
    }
    return true;
}

int sandbox(const QStringList& args, const QString& state)
{
    qputenv("QUILLET_SANDBOX_DIR", state.toLocal8Bit());
    int status = -1;
    const Cost c = runMeasured(
        QStringList{QStringLiteral("/bin/bash"), QStringLiteral(QUILLET_SOURCE_DIR "/tools/sandbox")} + args, state,
        &status);
    return c.wall < 0 ? -1 : status;
}

struct Post
{
    QString path; // request target
    QString bodyFile; // empty for a GET
};

// The sites ticked below; swjunkie's two boxes are one site.
constexpr std::size_t kHttpSites = 17;

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    int rounds = 10;
    QString quillet = QCoreApplication::applicationDirPath() + QStringLiteral("/../quillet");
    const QStringList arguments = QCoreApplication::arguments();
    for (int i = 1; i + 1 < arguments.size(); ++i) {
        if (arguments[i] == QLatin1String("--rounds"))
            rounds = std::max(1, arguments[i + 1].toInt());
        else if (arguments[i] == QLatin1String("--quillet"))
            quillet = arguments[i + 1];
    }
    quillet = QFileInfo(quillet).absoluteFilePath();

    QTemporaryDir temp;
    const QString base = temp.path() + QStringLiteral("/base");
    const QString state = temp.path() + QStringLiteral("/sandbox");
    QDir().mkpath(state);
    if (!copyTree(QStringLiteral(QUILLET_SOURCE_DIR "/sample"), base)) {
        std::fprintf(stderr, "cannot copy the sample folder\n");
        return 1;
    }
    // Every HTTP site, new and update boxes alike (the others' sites keep their ticks out).
    ProfileFile record(base + QStringLiteral("/data/NoteStack.dat"));
    for (const char* box : {"win95newcb", "new32bit", "kellcentnewcb", "wincentnewcb", "downloadcb", "fileminenewcb",
             "shareware95cb", "slaughnewcb", "Slaughterhousecb", "essennew", "shareinnew", "wsockwhcb", "fkingnew",
             "lgup", "swjunkienew", "swjunkieup", "sharedirnew", "cswup", "sshaknew"})
        record.writeBool(QStringLiteral("SITES"), QString::fromLatin1(box), true);
    record.commit();

    if (sandbox({QStringLiteral("start"), QStringLiteral("--base"), base, QStringLiteral("--lifetime"),
                    QStringLiteral("600")},
            state)
        != 0) {
        std::fprintf(stderr, "the sandbox did not start\n");
        return 1;
    }
    const QString host = SiteCatalogue::forBase(base).endpoints(QStringLiteral("lg")).host;
    const QStringList submit{quillet, QStringLiteral("--submit"), QStringLiteral("NoteStack")};

    // A first run, unmeasured, gives the bodies curl will send and warms the caches for both.
    int status = -1;
    runMeasured(submit, base, &status);
    std::vector<Post> posts;
    const QString received = state + QStringLiteral("/http");
    for (const QString& name : QDir(received).entryList({QStringLiteral("*.req")}, QDir::Files, QDir::Name)) {
        QFile f(received + QLatin1Char('/') + name);
        f.open(QIODevice::ReadOnly);
        const QByteArray all = f.readAll();
        const qsizetype split = all.indexOf("\r\n\r\n");
        const QList<QByteArray> requestLine = all.left(all.indexOf("\r\n")).split(' ');
        QString bodyFile;
        if (requestLine.value(0) == "POST") {
            bodyFile = temp.path() + QStringLiteral("/") + name + QStringLiteral(".body");
            QFile body(bodyFile);
            body.open(QIODevice::WriteOnly);
            body.write(all.mid(split + 4));
        }
        posts.push_back({QString::fromLatin1(requestLine.value(1)), bodyFile});
    }
    if (status != 0 || posts.size() != kHttpSites) {
        std::fprintf(stderr, "the first run did not reach the %zu HTTP sites (status %d, %zu requests)\n", kHttpSites,
            status, posts.size());
        sandbox({QStringLiteral("stop")}, state);
        return 1;
    }

    Cost ours, curl;
    Cost bestOurs{1e9, 1e9}, bestCurl{1e9, 1e9};
    bool failed = false;
    for (int round = 0; round < rounds && !failed; ++round) {
        Cost q = runMeasured(submit, base, &status);
        failed = failed || status != 0;
        Cost c;
        for (const Post& p : posts) {
            int curlStatus = -1;
            QStringList command{QStringLiteral("/usr/bin/curl"), QStringLiteral("-s"), QStringLiteral("-g"),
                QStringLiteral("-o"), QStringLiteral("/dev/null")};
            if (!p.bodyFile.isEmpty()) {
                command << QStringLiteral("-H") << QStringLiteral("Content-Type: application/x-www-form-urlencoded")
                        << QStringLiteral("-H") << QStringLiteral("Expect:") << QStringLiteral("--data-binary")
                        << QLatin1Char('@') + p.bodyFile;
            }
            c += runMeasured(command << QStringLiteral("http://") + host + p.path, base, &curlStatus);
            failed = failed || curlStatus != 0;
        }
        std::printf("round %2d: quillet %.3f s wall %.3f s CPU   curl x%zu %.3f s wall %.3f s CPU\n", round + 1, q.wall,
            q.cpu, posts.size(), c.wall, c.cpu);
        ours += q;
        curl += c;
        bestOurs = {std::min(bestOurs.wall, q.wall), std::min(bestOurs.cpu, q.cpu)};
        bestCurl = {std::min(bestCurl.wall, c.wall), std::min(bestCurl.cpu, c.cpu)};
    }
    // Every round's run and curls reached the server: one request per site each, after the first run's.
    const qsizetype requests = QDir(received).entryList({QStringLiteral("*.req")}, QDir::Files).size();
    failed = failed || requests != qsizetype(posts.size()) * (1 + 2 * qsizetype(rounds));
    sandbox({QStringLiteral("stop")}, state);
    if (failed) {
        std::fprintf(stderr, "a run or a curl post failed (%lld requests received)\n", (long long)requests);
        return 1;
    }
    std::printf("\n%d rounds, %zu HTTP sites each\n", rounds, kHttpSites);
    std::printf("quillet --submit : %.3f s wall, %.3f s CPU per round\n", ours.wall / rounds, ours.cpu / rounds);
    std::printf("curl, one by one : %.3f s wall, %.3f s CPU per round\n", curl.wall / rounds, curl.cpu / rounds);
    std::printf("ratio to curl    : wall %.2f, CPU %.2f (target <= 1.0)\n", ours.wall / curl.wall, ours.cpu / curl.cpu);
    // The best rounds: what each side costs when nothing else competes for the machine.
    std::printf("best round       : quillet %.3f s wall %.3f s CPU, curl %.3f s wall %.3f s CPU, ratio wall %.2f "
                "CPU %.2f\n",
        bestOurs.wall, bestOurs.cpu, bestCurl.wall, bestCurl.cpu, bestOurs.wall / bestCurl.wall,
        bestOurs.cpu / bestCurl.cpu);
    return 0;
}
