#pragma once

#include "net/NetworkWait.h"

#include <exception>
#include <functional>
#include <optional>

// One wait of the socket layer on the event loop. It is a NetworkWait while it runs (Skip, Cancel,
// interruptNetworkWaits() and the stall and site limits reach it), it sleeps in the event loop while
// nothing happens, and it raises again, in the waiting frame, an error that an event handler kept
// in *handlerFailure meanwhile (the handler cannot throw through the event loop).
class EventWait
{
public:
    explicit EventWait(
        NetworkWait::Watch watch = NetworkWait::Watch::Stalls, std::exception_ptr* handlerFailure = nullptr);
    EventWait(const EventWait&) = delete;
    EventWait& operator=(const EventWait&) = delete;

    NetworkWait& network() { return m_wait; }
    bool interrupted() const { return m_wait.interrupted(); }

    // Turns the event loop until end (asked before every turn, with whether the wait was
    // interrupted) gives a result. afterTurn runs after every turn; a result of it ends the wait too.
    template <typename T>
    T until(const std::function<std::optional<T>(bool interrupted)>& end,
        const std::function<std::optional<T>()>& afterTurn = {})
    {
        raiseHandlerFailure();
        for (;;) {
            if (std::optional<T> result = end(interrupted()))
                return *result;
            turn();
            if (afterTurn) {
                if (std::optional<T> result = afterTurn())
                    return *result;
            }
        }
    }
    // One turn: sleeps until an event comes and handles it, then raises a kept handler error.
    void turn();

private:
    void raiseHandlerFailure();

    NetworkWait m_wait;
    std::exception_ptr* m_handlerFailure;
};
