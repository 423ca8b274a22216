#pragma once

#include <functional>

// A network wait in progress. Every wait that pumps the event loop holds one for its duration, so
// that interruptNetworkWaits() can end it: the wait sees interrupted() after processEvents returns
// and ends with 301 "Interrupted". Waits nest; each one is registered while it runs.
class NetworkWait
{
public:
    // A wait with a time-out of its own (the mail client's) is not watched for stalls.
    enum class Watch { Stalls, OwnTimeout };

    explicit NetworkWait(Watch watch = Watch::Stalls);
    ~NetworkWait();
    NetworkWait(const NetworkWait&) = delete;
    NetworkWait& operator=(const NetworkWait&) = delete;

    bool interrupted() const { return m_interrupted; }
    // Ends this wait at its next turn and wakes the event loop so that the turn comes.
    void interrupt();

private:
    bool m_interrupted = false;
    bool m_watched;
};

// While a watched wait is in progress and no socket has made progress for seconds, onStall runs
// (from inside the wait's event loop); the clock then starts again. 0 seconds: never.
void setNetworkStallLimit(int seconds, std::function<void()> onStall);
// A socket made progress: data arrived, could be sent, or a connection came up.
void noteNetworkProgress();

// Every site of a run has seconds in all (0: no limit), counted from startSiteClock(). When they
// are up, onLimit runs from inside the network wait in progress, or from the next one to begin.
void setNetworkSiteLimit(int seconds, std::function<void()> onLimit);
void startSiteClock();

// Ends every network wait in progress with 301 "Interrupted". The main window calls this when it
// is asked to close while a transfer waits. Outside a wait it does nothing.
void interruptNetworkWaits();
