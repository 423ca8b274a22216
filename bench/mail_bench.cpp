// Mail benchmark: a message with a 20 MB attachment sent through the mail path (message, encoder,
// temporary file, SMTP client) to a local SMTP server, as a ratio to libcurl in this process sending
// the same encoded message to the same server in the same round; and this process's peak memory.
// Usage: mail_bench [--megabytes N] [--rounds R]

#include "BenchSupport.h"
#include "CurlPeer.h"
#include "net/TmsSMTP.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int megabytes = int(numberOption(argc, argv, "megabytes", 20));
    const int rounds = std::max(1, int(numberOption(argc, argv, "rounds", 3)));

    QTemporaryDir dir;
    const QString attachment = dir.filePath(QStringLiteral("payload.bin"));
    if (!writeRandomFile(attachment, megabytes))
        return 1;
    const BenchPeer server(QStringLiteral("tests/peers/smtp_peer.py"),
        {QStringLiteral("--record"), dir.filePath(QStringLiteral("received")), QStringLiteral("--lifetime"),
            QStringLiteral("900")});
    if (!server.port()) {
        std::fprintf(stderr, "mail_bench: the SMTP server did not start\n");
        return 1;
    }
    const QString address = QStringLiteral("127.0.0.1:%1").arg(server.port());
    const long baseKB = peakKB();

    std::vector<double> ours, theirs;
    const QString encoded = dir.filePath(QStringLiteral("message.eml"));
    for (int round = 0; round < rounds; ++round) {
        QElapsedTimer timer;
        timer.start();
        {
            TmsSMTP smtp;
            smtp.Server = address;
            sendAttachmentMail(smtp, attachment, round == 0 ? encoded : QString());
        }
        ours.push_back(seconds(timer));

        CurlTransfer transfer;
        transfer.url = QStringLiteral("smtp://") + address;
        transfer.uploadFile = encoded;
        transfer.mailFrom = QStringLiteral("bench@local.example");
        transfer.mailTo = {QStringLiteral("sink@local.example")};
        const double c = curlSeconds(transfer);
        if (c < 0) {
            std::fprintf(stderr, "mail_bench: curl failed\n");
            return 1;
        }
        theirs.push_back(c);
    }
    printRatios(QStringLiteral("mail path, %1 MB attachment").arg(megabytes), "TmsSMTP", ours, "libcurl", theirs);
    std::printf("peak memory: %.1f MB (before sending: %.1f MB; attachment %d MB)\n", double(peakKB()) / 1024.0,
        double(baseKB) / 1024.0, megabytes);
    return 0;
}
