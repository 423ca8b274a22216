#pragma once

// A network wait in progress. Every wait that pumps the event loop holds one for its duration, so
// that interruptNetworkWaits() can end it: the wait sees interrupted() after processEvents returns
// and ends with 301 "Interrupted". Waits nest; each one is registered while it runs.
class NetworkWait
{
public:
    NetworkWait();
    ~NetworkWait();
    NetworkWait(const NetworkWait&) = delete;
    NetworkWait& operator=(const NetworkWait&) = delete;

    bool interrupted() const { return m_interrupted; }
    // Ends this wait at its next turn and wakes the event loop so that the turn comes.
    void interrupt();

private:
    bool m_interrupted = false;
};

// Ends every network wait in progress with 301 "Interrupted". The main window calls this when it
// is asked to close while a transfer waits. Outside a wait it does nothing.
void interruptNetworkWaits();
