// HTTP client benchmark, one run, two figures:
//  (a) CPU time this process spends while an answer stalls for 5 s (a waiting client must sleep);
//  (b) time to POST a 50 MB AttachedFile to a local sink, as a ratio to libcurl in this process
//      posting the same file to the same sink in the same round.
// Usage: http_bench [--stall-seconds S] [--megabytes N] [--rounds R]

#include "BenchSupport.h"
#include "CurlPeer.h"
#include "net/THTTP.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

QString sinkUrl(quint16 port)
{
    return QStringLiteral("http://127.0.0.1:%1/sink").arg(port);
}

bool post(THTTP& http, quint16 port, const QString& file)
{
    http.setURL(sinkUrl(port));
    http.setContentType(QStringLiteral("application/octet-stream"));
    http.setPostData(QByteArray());
    http.setAttachedFile(file);
    try {
        http.setAction(httpPost);
        return true;
    } catch (const QuilletError& e) {
        std::fprintf(stderr, "http_bench: %s\n", e.what());
        return false;
    }
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const double stall = numberOption(argc, argv, "stall-seconds", 5.0);
    const int megabytes = int(numberOption(argc, argv, "megabytes", 50));
    const int rounds = std::max(1, int(numberOption(argc, argv, "rounds", 5)));

    THTTP http;
    http.setWinsockLoaded(true);

    // (a) A stalled answer.
    {
        const BenchPeer sink(QStringLiteral("bench/http_sink.py"),
            {QStringLiteral("--stall"), QString::number(stall), QStringLiteral("--lifetime"), QStringLiteral("600")});
        if (!sink.port()) {
            std::fprintf(stderr, "http_bench: the sink did not start\n");
            return 2;
        }
        QElapsedTimer wall;
        const double before = cpuSeconds();
        wall.start();
        http.setURL(sinkUrl(sink.port()));
        http.setAttachedFile(QString());
        http.setPostData("a=1");
        http.setAction(httpPost);
        const double cpu = cpuSeconds() - before;
        std::printf("(a) stalled answer: waited %.2f s, CPU time %.4f s (target < 0.05 s)\n", seconds(wall), cpu);
    }

    // (b) A large attached file.
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("upload.bin"));
    if (!writePatternFile(file, megabytes))
        return 2;
    const BenchPeer sink(QStringLiteral("bench/http_sink.py"),
        {QStringLiteral("--stall"), QString::number(0), QStringLiteral("--lifetime"), QStringLiteral("600")});
    if (!sink.port())
        return 2;
    std::vector<double> ours;
    std::vector<double> theirs;
    for (int round = 0; round < rounds; ++round) {
        QElapsedTimer timer;
        timer.start();
        if (!post(http, sink.port(), file))
            return 1;
        ours.push_back(seconds(timer));
        CurlTransfer transfer;
        transfer.url = sinkUrl(sink.port());
        transfer.uploadFile = file;
        transfer.contentType = QStringLiteral("application/octet-stream");
        const double c = curlSeconds(transfer);
        if (c < 0) {
            std::fprintf(stderr, "http_bench: curl failed\n");
            return 1;
        }
        theirs.push_back(c);
    }
    printRatios(QStringLiteral("(b) POST of a %1 MB AttachedFile").arg(megabytes), "THTTP", ours, "libcurl", theirs);
    return 0;
}
