// FTP client benchmark, one run, two figures:
//  (a) CPU time this process spends while the server's greeting stalls for 5 s (a waiting
//      client must sleep);
//  (b) time to upload a 50 MB file to a local pyftpdlib server in active mode, as a ratio to
//      libcurl in this process uploading the same file in active mode to the same server, on a
//      connection of its own, in the same round.
// Usage: ftp_bench [--stall-seconds S] [--megabytes N] [--rounds R]

#include "BenchSupport.h"
#include "CurlPeer.h"
#include "net/TFTP.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// The test suite's FTP server serving root; its errors are not shown.
QStringList ftpPeerArgs(const QString& root, double stall)
{
    return {QStringLiteral("--root"), root, QStringLiteral("--record"), root + QStringLiteral("/../commands"),
        QStringLiteral("--stall"), QString::number(stall), QStringLiteral("--lifetime"), QStringLiteral("900")};
}

bool upload(TFTP& ftp, const QString& file)
{
    ftp.setLocalFile(file);
    ftp.setRemoteFile(QStringLiteral("ours.bin"));
    try {
        ftp.setAction(ftpUpload);
        return true;
    } catch (const QuilletError& e) {
        std::fprintf(stderr, "ftp_bench: %s\n", e.what());
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
    QTemporaryDir dir;
    const QString root = dir.filePath(QStringLiteral("root"));

    // (a) A stalled greeting.
    {
        const BenchPeer server(QStringLiteral("tests/peers/ftp_peer.py"), ftpPeerArgs(root, stall), true);
        if (!server.port()) {
            std::fprintf(stderr, "ftp_bench: the server did not start\n");
            return 2;
        }
        TFTP ftp;
        ftp.setWinsockLoaded(true);
        ftp.setRemoteHost(QStringLiteral("127.0.0.1:%1").arg(server.port()));
        ftp.setUser(QStringLiteral("bob"));
        ftp.setPassword(QStringLiteral("secret"));
        QElapsedTimer wall;
        const double before = cpuSeconds();
        wall.start();
        ftp.setAction(ftpLogon);
        const double cpu = cpuSeconds() - before;
        std::printf("(a) stalled reply: waited %.2f s, CPU time %.4f s (target < 0.05 s)\n", seconds(wall), cpu);
        ftp.setAction(ftpLogoff);
    }

    // (b) A large upload.
    const QString file = dir.filePath(QStringLiteral("upload.bin"));
    if (!writePatternFile(file, megabytes))
        return 2;
    const BenchPeer server(QStringLiteral("tests/peers/ftp_peer.py"), ftpPeerArgs(root, 0), true);
    if (!server.port())
        return 2;
    TFTP ftp;
    ftp.setWinsockLoaded(true);
    ftp.setTransferMode(tmBinary);
    ftp.setRemoteHost(QStringLiteral("127.0.0.1:%1").arg(server.port()));
    ftp.setUser(QStringLiteral("bob"));
    ftp.setPassword(QStringLiteral("secret"));
    std::vector<double> ours;
    std::vector<double> theirs;
    for (int round = 0; round < rounds; ++round) {
        // Both log on, upload and log off: curl does all three for each file.
        QElapsedTimer timer;
        timer.start();
        if (!upload(ftp, file))
            return 1;
        ftp.setAction(ftpLogoff);
        ours.push_back(seconds(timer));
        if (QFileInfo(root + QStringLiteral("/ours.bin")).size() != qint64(megabytes) << 20) {
            std::fprintf(stderr, "ftp_bench: the upload arrived incomplete\n");
            return 1;
        }
        CurlTransfer transfer;
        transfer.url = QStringLiteral("ftp://127.0.0.1:%1/theirs.bin").arg(server.port());
        transfer.uploadFile = file;
        transfer.activeFtp = true;
        transfer.user = QStringLiteral("bob");
        transfer.password = QStringLiteral("secret");
        const double c = curlSeconds(transfer);
        if (c < 0) {
            std::fprintf(stderr, "ftp_bench: curl failed\n");
            return 1;
        }
        theirs.push_back(c);
    }
    printRatios(QStringLiteral("(b) active-mode upload of %1 MB").arg(megabytes), "TFTP", ours, "libcurl", theirs);
    return 0;
}
