// Reachability check benchmark: EndpointCheck trying 60 endpoints on loopback (16 at a time, one
// event loop) as a ratio to curl connecting to the same 60 addresses one after another, in the same
// round. The curl command line of this machine (7.88) has no --connect-only, so the peer is libcurl
// in this process with CURLOPT_CONNECT_ONLY, a fresh handle per address (connect-only connections
// are never reused): no process start is counted on either side. Either side failing ends the
// benchmark with status 1. Usage: endpoint_check_bench [--rounds R] [--endpoints N]

#include "BenchSupport.h"
#include "net/EndpointCheck.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <arpa/inet.h>
#include <curl/curl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <thread>
#include <vector>

namespace {

// Connects to each address in turn, as curl --connect-only would; its seconds, or -1 on a failure.
double curlConnectSeconds(const QStringList& urls)
{
    QElapsedTimer timer;
    timer.start();
    for (const QString& url : urls) {
        CURL* curl = curl_easy_init();
        if (!curl)
            return -1;
        curl_easy_setopt(curl, CURLOPT_URL, url.toUtf8().constData());
        curl_easy_setopt(curl, CURLOPT_CONNECT_ONLY, 1L);
        const CURLcode result = curl_easy_perform(curl);
        curl_easy_cleanup(curl);
        if (result != CURLE_OK) {
            std::fprintf(stderr, "endpoint_check_bench: curl: %s\n", curl_easy_strerror(result));
            return -1;
        }
    }
    return seconds(timer);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int rounds = std::max(1, int(numberOption(argc, argv, "rounds", 7)));
    const int count = std::max(1, int(numberOption(argc, argv, "endpoints", 60)));
    // The server: a listening socket whose connections a thread of its own accepts and closes, so
    // that the kernel completes every handshake at once and no script's pace is measured.
    const int listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    if (listener < 0 || ::bind(listener, reinterpret_cast<sockaddr*>(&address), size) != 0
        || ::listen(listener, 1024) != 0
        || ::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
        std::fprintf(stderr, "endpoint_check_bench: the server did not start\n");
        return 1;
    }
    const quint16 port = ntohs(address.sin_port);
    std::thread([listener] {
        for (;;) {
            const int connection = ::accept(listener, nullptr, nullptr);
            if (connection >= 0)
                ::close(connection);
        }
    }).detach();
    std::vector<ProbeTarget> targets(count);
    curl_global_init(CURL_GLOBAL_DEFAULT);
    QStringList urls;
    for (ProbeTarget& t : targets) {
        t.label = QStringLiteral("bench");
        t.endpoint = QStringLiteral("web 127.0.0.1:%1").arg(port);
        t.host = QStringLiteral("127.0.0.1");
        t.port = port;
        urls.append(QStringLiteral("http://127.0.0.1:%1/").arg(port));
    }
    std::vector<double> ours, theirs;
    for (int round = 0; round < rounds; ++round) {
        QElapsedTimer timer;
        timer.start();
        EndpointCheck check(targets, 30);
        check.runToEnd();
        const double checkSeconds = seconds(timer);
        if (!check.allReachable()) {
            for (const ProbeResult& r : check.results()) {
                if (!r.reachable) {
                    std::fprintf(stderr, "endpoint_check_bench: the check failed: %s\n", qPrintable(r.reason));
                    break;
                }
            }
            return 1;
        }
        const double curlSeconds = curlConnectSeconds(urls);
        if (curlSeconds < 0) {
            std::fprintf(stderr, "endpoint_check_bench: curl failed\n");
            return 1;
        }
        std::printf("round %d: check %.4f s (at most %d at once), curl %.4f s\n", round + 1, checkSeconds,
            check.mostAtOnce(), curlSeconds);
        ours.push_back(checkSeconds);
        theirs.push_back(curlSeconds);
    }
    printRatios(QStringLiteral("%1 loopback endpoints").arg(count), "check", ours, "curl", theirs);
    return 0;
}
