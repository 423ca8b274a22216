#pragma once

#include "net/NetworkWait.h"

#include <QTimer>

// Ends every network wait once the time is up, so a hung exchange fails its test instead of
// hanging it. Passing never depends on it.
class NetworkWatchdog
{
public:
    explicit NetworkWatchdog(int milliseconds)
    {
        m_timer.setSingleShot(true);
        QObject::connect(&m_timer, &QTimer::timeout, [] { interruptNetworkWaits(); });
        m_timer.start(milliseconds);
    }

private:
    QTimer m_timer;
};
