// Reachability check benchmark: EndpointCheck trying 60 endpoints on loopback (16 at a time, one
// event loop) as a ratio to one curl process connecting to the same 60 addresses one after another
// (curl --connect-only URL1 … URL60: connect-only connections are never reused), in the same round.
// Either side failing ends the benchmark with status 1. Usage: endpoint_check_bench [--rounds R]
// [--endpoints N]

#include "BenchSupport.h"
#include "net/EndpointCheck.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int rounds = std::max(1, int(numberOption(argc, argv, "rounds", 7)));
    const int count = std::max(1, int(numberOption(argc, argv, "endpoints", 60)));
    // A server that takes many connections at once and holds each until the client goes.
    const BenchPeer server(
        QStringLiteral("tests/peers/greeting_peer.py"), {QStringLiteral("--lifetime"), QStringLiteral("600")});
    if (!server.port()) {
        std::fprintf(stderr, "endpoint_check_bench: the server did not start\n");
        return 1;
    }
    std::vector<ProbeTarget> targets(count);
    QStringList urls{QStringLiteral("--silent"), QStringLiteral("--show-error"), QStringLiteral("--connect-only")};
    for (ProbeTarget& t : targets) {
        t.label = QStringLiteral("bench");
        t.endpoint = QStringLiteral("web 127.0.0.1:%1").arg(server.port());
        t.host = QStringLiteral("127.0.0.1");
        t.port = server.port();
        urls.append(QStringLiteral("http://127.0.0.1:%1/").arg(server.port()));
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
        const double curlSeconds = secondsToRun(QStringLiteral("curl"), urls);
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
