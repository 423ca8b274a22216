#pragma once

#include <QObject>
#include <QTimer>

// The countdown of a mail session's waits: a one-second timer that counts Length seconds down
// and then sets TimedOut. It ticks only while the event loop runs, which every wait does.
class TTimeCounter : public QObject
{
    Q_OBJECT

public:
    explicit TTimeCounter(QObject* parent = nullptr);

    int Length() const { return m_length; }
    void setLength(int seconds) { m_length = seconds; }
    int Remaining() const { return m_remaining; }
    bool TimedOut() const { return m_timedOut; }
    // Only a new session clears the flag.
    void clearTimedOut() { m_timedOut = false; }

    void Start();
    void Stop();

private:
    void tick();

    QTimer m_timer;
    int m_length = 60;
    int m_remaining = 0;
    bool m_timedOut = false;
};
