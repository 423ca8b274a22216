#include "net/TTimeCounter.h"

TTimeCounter::TTimeCounter(QObject* parent)
    : QObject(parent)
{
    m_timer.setInterval(1000);
    connect(&m_timer, &QTimer::timeout, this, &TTimeCounter::tick);
}

void TTimeCounter::Start()
{
    m_remaining = m_length;
    m_timer.start();
}

void TTimeCounter::Stop()
{
    m_timer.stop();
}

void TTimeCounter::tick()
{
    if (--m_remaining <= 0) {
        m_timedOut = true;
        m_timer.stop();
    }
}
