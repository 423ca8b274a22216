// TLS benchmark: (a) a 50 MB HTTPS POST by THTTP to a local TLS sink and (b) a mail with a 20 MB
// attachment over STARTTLS by TmsSMTP to the local SMTP stand-in, each as a ratio to curl doing
// (libcurl in this process) doing the same to the same server in the same round. The servers' certificate comes from a
// throw-away authority made with the openssl command. Usage: tls_bench [--http-megabytes N] [--mail-megabytes N]
// [--rounds R]

#include "BenchSupport.h"
#include "CurlPeer.h"
#include "net/THTTP.h"
#include "net/TmsSMTP.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// ca.pem, and server.pem / server.key for 127.0.0.1, in dir.
bool makeAuthority(const QTemporaryDir& dir)
{
    const QString ext = dir.filePath(QStringLiteral("server.ext"));
    QFile file(ext);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write("subjectAltName=IP:127.0.0.1\n");
    file.close();
    const QStringList key = {QStringLiteral("-newkey"), QStringLiteral("ec"), QStringLiteral("-pkeyopt"),
        QStringLiteral("ec_paramgen_curve:prime256v1"), QStringLiteral("-nodes")};
    return runQuietly(QStringLiteral("openssl"),
               QStringList{QStringLiteral("req"), QStringLiteral("-x509")} + key
                   + QStringList{QStringLiteral("-keyout"), dir.filePath(QStringLiteral("ca.key")),
                       QStringLiteral("-out"), dir.filePath(QStringLiteral("ca.pem")), QStringLiteral("-days"),
                       QStringLiteral("1"), QStringLiteral("-subj"), QStringLiteral("/CN=Bench CA")})
        && runQuietly(QStringLiteral("openssl"),
            QStringList{QStringLiteral("req")} + key
                + QStringList{QStringLiteral("-keyout"), dir.filePath(QStringLiteral("server.key")),
                    QStringLiteral("-out"), dir.filePath(QStringLiteral("server.csr")), QStringLiteral("-subj"),
                    QStringLiteral("/CN=127.0.0.1")})
        && runQuietly(QStringLiteral("openssl"),
            {QStringLiteral("x509"), QStringLiteral("-req"), QStringLiteral("-in"),
                dir.filePath(QStringLiteral("server.csr")), QStringLiteral("-CA"),
                dir.filePath(QStringLiteral("ca.pem")), QStringLiteral("-CAkey"),
                dir.filePath(QStringLiteral("ca.key")), QStringLiteral("-CAcreateserial"), QStringLiteral("-out"),
                dir.filePath(QStringLiteral("server.pem")), QStringLiteral("-days"), QStringLiteral("1"),
                QStringLiteral("-extfile"), ext});
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int httpMegabytes = int(numberOption(argc, argv, "http-megabytes", 50));
    const int mailMegabytes = int(numberOption(argc, argv, "mail-megabytes", 20));
    const int rounds = std::max(1, int(numberOption(argc, argv, "rounds", 3)));

    QTemporaryDir dir;
    if (!makeAuthority(dir)) {
        std::fprintf(stderr, "tls_bench: the test authority could not be made\n");
        return 1;
    }
    const QString ca = dir.filePath(QStringLiteral("ca.pem"));
    const QStringList tls = {QStringLiteral("--tls"), dir.filePath(QStringLiteral("server.pem")),
        dir.filePath(QStringLiteral("server.key")), QStringLiteral("--lifetime"), QStringLiteral("900")};
    const QString upload = dir.filePath(QStringLiteral("upload.bin"));
    const QString attachment = dir.filePath(QStringLiteral("attachment.bin"));
    if (!writeRandomFile(upload, httpMegabytes) || !writeRandomFile(attachment, mailMegabytes))
        return 1;

    // (a) HTTPS POST.
    const BenchPeer sink(QStringLiteral("bench/http_sink.py"), tls);
    if (!sink.port()) {
        std::fprintf(stderr, "tls_bench: the HTTPS sink did not start\n");
        return 1;
    }
    const QString url = QStringLiteral("https://127.0.0.1:%1/upload").arg(sink.port());
    std::vector<double> ours, theirs;
    for (int round = 0; round < rounds; ++round) {
        QElapsedTimer timer;
        timer.start();
        THTTP http;
        http.setWinsockLoaded(true);
        http.setURL(url);
        http.setCAFile(ca);
        http.setContentType(QStringLiteral("application/octet-stream"));
        http.setAttachedFile(upload);
        http.setAction(httpPost);
        ours.push_back(seconds(timer));
        CurlTransfer transfer;
        transfer.url = url;
        transfer.uploadFile = upload;
        transfer.contentType = QStringLiteral("application/octet-stream");
        transfer.caFile = ca;
        const double c = curlSeconds(transfer);
        if (c < 0) {
            std::fprintf(stderr, "tls_bench: curl failed on HTTPS\n");
            return 1;
        }
        theirs.push_back(c);
    }
    const std::vector<double> httpOurs = ours, httpCurl = theirs;

    // (b) Mail over STARTTLS.
    const BenchPeer smtpServer(QStringLiteral("tests/peers/smtp_peer.py"),
        QStringList{
            QStringLiteral("--record"), dir.filePath(QStringLiteral("received")), QStringLiteral("--require-starttls")}
            + tls);
    if (!smtpServer.port()) {
        std::fprintf(stderr, "tls_bench: the SMTP server did not start\n");
        return 1;
    }
    const QString address = QStringLiteral("127.0.0.1:%1").arg(smtpServer.port());
    const QString encoded = dir.filePath(QStringLiteral("message.eml"));
    ours.clear();
    theirs.clear();
    for (int round = 0; round < rounds; ++round) {
        QElapsedTimer timer;
        timer.start();
        {
            TmsSMTP smtp;
            smtp.Server = address;
            smtp.Security = SmtpSecurity::StartTls;
            smtp.CAFile = ca;
            sendAttachmentMail(smtp, attachment, round == 0 ? encoded : QString());
        }
        ours.push_back(seconds(timer));
        CurlTransfer transfer;
        transfer.url = QStringLiteral("smtp://") + address;
        transfer.uploadFile = encoded;
        transfer.caFile = ca;
        transfer.requireTls = true;
        transfer.mailFrom = QStringLiteral("bench@local.example");
        transfer.mailTo = {QStringLiteral("sink@local.example")};
        const double c = curlSeconds(transfer);
        if (c < 0) {
            std::fprintf(stderr, "tls_bench: curl failed on SMTP\n");
            return 1;
        }
        theirs.push_back(c);
    }
    printRatios(QStringLiteral("(a) HTTPS POST of %1 MB").arg(httpMegabytes), "THTTP", httpOurs, "libcurl", httpCurl);
    printRatios(QStringLiteral("(b) mail with a %1 MB attachment over STARTTLS").arg(mailMegabytes), "TmsSMTP", ours,
        "libcurl", theirs);
    return 0;
}
