#pragma once

#include "net/EndpointProbe.h"

#include <QObject>

#include <vector>

// Tries a list of endpoints, at most a number of them at a time, all on the one event loop: each
// EndpointProbe is a small state machine over its own non-blocking socket, so sixteen probes cost
// no thread. Results keep the order of the targets.
class EndpointCheck : public QObject
{
    Q_OBJECT

public:
    static constexpr int DefaultParallel = 16;

    // seconds bounds each endpoint's try (the run's stall time-out); 0 or less takes 120.
    EndpointCheck(
        std::vector<ProbeTarget> targets, int seconds, int parallel = DefaultParallel, QObject* parent = nullptr);

    void start();
    // Runs the check to its end in a local event loop (batch mode, tests).
    void runToEnd();
    bool isFinished() const { return m_finished == m_targets.size(); }

    const std::vector<ProbeTarget>& targets() const { return m_targets; }
    const std::vector<ProbeResult>& results() const { return m_results; }
    bool allReachable() const;
    // The most probes that were under way at once.
    int mostAtOnce() const { return m_mostAtOnce; }

signals:
    void progress(int done, int total);
    void endpointDone(int index);
    void finished();

private:
    void startNext();

    std::vector<ProbeTarget> m_targets;
    std::vector<ProbeResult> m_results;
    int m_seconds;
    int m_parallel;
    std::size_t m_next = 0;
    std::size_t m_finished = 0;
    int m_running = 0;
    int m_mostAtOnce = 0;
};
