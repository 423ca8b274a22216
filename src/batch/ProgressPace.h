#pragma once

#include <QElapsedTimer>

// Paces a progress display: a transfer reports every block it moves, a window needs a few updates
// a second. The first report after restart() is always due, then one per interval.
class ProgressPace
{
public:
    static constexpr qint64 DefaultIntervalMs = 250;

    explicit ProgressPace(qint64 intervalMs = DefaultIntervalMs)
        : m_intervalMs(intervalMs)
    {
    }

    void restart() { m_timer.invalidate(); }
    // True when this report should be shown; it then starts the next interval.
    bool due()
    {
        if (m_timer.isValid() && m_timer.elapsed() < m_intervalMs)
            return false;
        m_timer.start();
        return true;
    }

private:
    qint64 m_intervalMs;
    QElapsedTimer m_timer;
};
