#include "net/NetworkWait.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>

#include <algorithm>
#include <vector>

namespace {

std::vector<NetworkWait*>& activeWaits()
{
    static std::vector<NetworkWait*> waits;
    return waits;
}

} // namespace

NetworkWait::NetworkWait()
{
    activeWaits().push_back(this);
}

NetworkWait::~NetworkWait()
{
    auto& waits = activeWaits();
    waits.erase(std::remove(waits.begin(), waits.end(), this), waits.end());
}

void NetworkWait::interrupt()
{
    m_interrupted = true;
    // The wait may be about to block in the event loop with nothing else pending: wake it so it
    // sees the flag at once.
    if (auto* dispatcher = QAbstractEventDispatcher::instance())
        dispatcher->wakeUp();
}

void interruptNetworkWaits()
{
    for (NetworkWait* wait : activeWaits())
        wait->interrupt();
}
