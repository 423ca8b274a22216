// Submission benchmark: "quillet --submit" on a copy of the sample folder with every site ticked
// whose recipe is built, against the sandbox's HTTP, FTP and SMTP stand-ins, compared in the same
// run with curl repeating every transfer Quillet made (each post's body, File Mine's address, each
// uploaded file, each mail with its envelope), one curl process after another. Prints wall and CPU
// time (user + system of the client processes) per round and their ratios to curl (target: at
// most 1.0).
// Usage: submit_bench [--rounds N] [--quillet PATH]

#include "core/ProfileFile.h"
#include "submit/RecipeBook.h"
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

// One transfer the run made, as curl repeats it.
struct Transfer
{
    QStringList curlArguments; // after "curl -s -o /dev/null"
};

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
    return path;
}

QStringList filesIn(const QString& folder, const QString& pattern = QStringLiteral("*"))
{
    QStringList out;
    QDirIterator it(folder, {pattern}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        out.append(it.next());
    out.sort();
    return out;
}

// The requests the HTTP stand-in recorded: each post's body and each GET's address.
std::vector<Transfer> httpTransfers(const QString& received, const QString& host, const QString& temp)
{
    std::vector<Transfer> out;
    for (const QString& file : filesIn(received, QStringLiteral("*.req"))) {
        const QByteArray all = readAll(file);
        const QList<QByteArray> requestLine = all.left(all.indexOf("\r\n")).split(' ');
        const QString url = QStringLiteral("http://") + host + QString::fromLatin1(requestLine.value(1));
        if (requestLine.value(0) != "POST") {
            out.push_back({{QStringLiteral("-g"), url}});
            continue;
        }
        const QString body = writeFile(temp + QLatin1Char('/') + QFileInfo(file).fileName() + QStringLiteral(".body"),
            all.mid(all.indexOf("\r\n\r\n") + 4));
        out.push_back({{QStringLiteral("-H"), QStringLiteral("Content-Type: application/x-www-form-urlencoded"),
            QStringLiteral("-H"), QStringLiteral("Expect:"), QStringLiteral("--data-binary"), QLatin1Char('@') + body,
            url}});
    }
    return out;
}

// The files the FTP stand-in received, sent again to the same place in active mode, as Quillet
// sends them.
std::vector<Transfer> ftpTransfers(const QString& root, const QString& host, const QString& temp)
{
    std::vector<Transfer> out;
    int n = 0;
    for (const QString& file : filesIn(root)) {
        // A copy: the stand-in overwrites the received file while curl reads it.
        const QString copy = writeFile(temp + QStringLiteral("/upload%1").arg(++n), readAll(file));
        out.push_back({{QStringLiteral("--ftp-port"), QStringLiteral("-"), QStringLiteral("--ftp-create-dirs"),
            QStringLiteral("--user"), QStringLiteral("anonymous:bench@quillet.example"), QStringLiteral("-T"), copy,
            QStringLiteral("ftp://") + host + file.mid(root.size())}});
    }
    return out;
}

// The messages the SMTP stand-in kept, sent again with their envelope.
std::vector<Transfer> mailTransfers(const QString& spool, quint16 port, const QString& temp)
{
    std::vector<Transfer> out;
    for (const QString& file : filesIn(spool, QStringLiteral("*.eml"))) {
        QByteArray all = readAll(file);
        QStringList args{QStringLiteral("--url"), QStringLiteral("smtp://127.0.0.1:%1").arg(port)};
        while (all.startsWith("X-Envelope-")) {
            const qsizetype end = all.indexOf("\r\n");
            const QByteArray line = all.left(end);
            const QString address = QString::fromUtf8(line.mid(line.indexOf(':') + 2));
            args << (line.startsWith("X-Envelope-From:") ? QStringLiteral("--mail-from")
                                                         : QStringLiteral("--mail-rcpt"))
                 << address;
            all = all.mid(end + 2);
        }
        args << QStringLiteral("-T")
             << writeFile(temp + QLatin1Char('/') + QFileInfo(file).fileName() + QStringLiteral(".msg"), all);
        out.push_back({args});
    }
    return out;
}

quint16 sandboxPort(const QString& state, const char* name)
{
    for (const QByteArray& line : readAll(state + QStringLiteral("/ports")).split('\n')) {
        if (line.startsWith(QByteArray(name) + '='))
            return quint16(line.mid(qstrlen(name) + 1).toUInt());
    }
    return 0;
}

qsizetype received(const QString& state)
{
    return filesIn(state + QStringLiteral("/http"), QStringLiteral("*.req")).size()
        + filesIn(state + QStringLiteral("/mail"), QStringLiteral("*.eml")).size();
}

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
    // Every site whose recipe is built, by its new-listing box (an update entry of its own would be
    // cleared by its site's new listing anyway).
    ProfileFile record(base + QStringLiteral("/data/NoteStack.dat"));
    int sites = 0;
    for (const SiteEntry& e : SiteCatalogue::entries()) {
        if (e.newBox.isEmpty() || !RecipeBook::find(e.id))
            continue;
        record.writeBool(QStringLiteral("SITES"), e.newBox, true);
        ++sites;
    }
    record.commit();

    if (sandbox({QStringLiteral("start"), QStringLiteral("--base"), base, QStringLiteral("--lifetime"),
                    QStringLiteral("600")},
            state)
        != 0) {
        std::fprintf(stderr, "the sandbox did not start\n");
        return 1;
    }
    const SiteEndpoints endpoints = SiteCatalogue::forBase(base).endpoints(QStringLiteral("lg"));
    const QStringList submit{quillet, QStringLiteral("--submit"), QStringLiteral("NoteStack")};

    // A first run, unmeasured, gives the transfers curl will repeat and warms the caches for both.
    int status = -1;
    runMeasured(submit, base, &status);
    std::vector<Transfer> transfers = httpTransfers(state + QStringLiteral("/http"), endpoints.host, temp.path());
    const std::size_t posts = transfers.size();
    const std::vector<Transfer> uploads = ftpTransfers(state + QStringLiteral("/ftp"), endpoints.ftpHost, temp.path());
    const std::vector<Transfer> mails
        = mailTransfers(state + QStringLiteral("/mail"), sandboxPort(state, "SMTP_PORT"), temp.path());
    transfers.insert(transfers.end(), uploads.begin(), uploads.end());
    transfers.insert(transfers.end(), mails.begin(), mails.end());
    const qsizetype firstRun = received(state);
    if (status != 0 || posts == 0) {
        std::fprintf(stderr, "the first run failed (status %d, %zu requests)\n", status, posts);
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
        for (const Transfer& t : transfers) {
            int curlStatus = -1;
            c += runMeasured(QStringList{QStringLiteral("/usr/bin/curl"), QStringLiteral("-s"), QStringLiteral("-o"),
                                 QStringLiteral("/dev/null")}
                    + t.curlArguments,
                base, &curlStatus);
            if (curlStatus != 0) {
                std::fprintf(
                    stderr, "curl %s: status %d\n", qPrintable(t.curlArguments.join(QLatin1Char(' '))), curlStatus);
                failed = true;
            }
        }
        std::printf("round %2d: quillet %.3f s wall %.3f s CPU   curl x%zu %.3f s wall %.3f s CPU\n", round + 1, q.wall,
            q.cpu, transfers.size(), c.wall, c.cpu);
        ours += q;
        curl += c;
        bestOurs = {std::min(bestOurs.wall, q.wall), std::min(bestOurs.cpu, q.cpu)};
        bestCurl = {std::min(bestCurl.wall, c.wall), std::min(bestCurl.cpu, c.cpu)};
    }
    // Every round's run and curls reached the servers: the first run's requests and mails again,
    // twice per round.
    const qsizetype total = received(state);
    failed = failed || total != firstRun * (1 + 2 * qsizetype(rounds));
    sandbox({QStringLiteral("stop")}, state);
    if (failed) {
        std::fprintf(stderr, "a run or a curl transfer failed (%lld requests and mails received)\n", (long long)total);
        return 1;
    }
    std::printf("\n%d rounds, %d sites each: %zu HTTP requests, %zu FTP uploads, %zu mails\n", rounds, sites, posts,
        uploads.size(), mails.size());
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
