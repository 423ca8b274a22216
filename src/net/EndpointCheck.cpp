#include "net/EndpointCheck.h"

#include <QEventLoop>
#include <QTimer>

#include <algorithm>

EndpointCheck::EndpointCheck(std::vector<ProbeTarget> targets, int seconds, int parallel, QObject* parent)
    : QObject(parent)
    , m_targets(std::move(targets))
    , m_results(m_targets.size())
    , m_seconds(seconds > 0 ? seconds : 120)
    , m_parallel(std::max(parallel, 1))
{
}

void EndpointCheck::start()
{
    if (m_targets.empty()) {
        QTimer::singleShot(0, this, &EndpointCheck::finished);
        return;
    }
    while (m_running < m_parallel && m_next < m_targets.size())
        startNext();
}

void EndpointCheck::startNext()
{
    const std::size_t index = m_next++;
    auto* probe = new EndpointProbe(m_targets[index], m_seconds, this);
    // A probe may finish inside start(), which then starts the next one from here.
    connect(probe, &EndpointProbe::finished, this, [this, probe, index] {
        m_results[index] = probe->result();
        probe->deleteLater();
        --m_running;
        ++m_finished;
        emit endpointDone(static_cast<int>(index));
        emit progress(static_cast<int>(m_finished), static_cast<int>(m_targets.size()));
        if (m_next < m_targets.size())
            startNext();
        else if (isFinished())
            emit finished();
    });
    ++m_running;
    m_mostAtOnce = std::max(m_mostAtOnce, m_running);
    probe->start();
}

void EndpointCheck::runToEnd()
{
    QEventLoop loop;
    connect(this, &EndpointCheck::finished, &loop, &QEventLoop::quit);
    start();
    if (!isFinished() || m_targets.empty())
        loop.exec();
}

bool EndpointCheck::allReachable() const
{
    return std::all_of(m_results.begin(), m_results.end(), [](const ProbeResult& r) { return r.reachable; });
}
