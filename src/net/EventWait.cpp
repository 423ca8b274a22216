#include "net/EventWait.h"

#include <QCoreApplication>

#include <utility>

EventWait::EventWait(NetworkWait::Watch watch, std::exception_ptr* handlerFailure)
    : m_wait(watch)
    , m_handlerFailure(handlerFailure)
{
}

void EventWait::turn()
{
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    raiseHandlerFailure();
}

void EventWait::raiseHandlerFailure()
{
    if (m_handlerFailure && *m_handlerFailure)
        std::rethrow_exception(std::exchange(*m_handlerFailure, nullptr));
}
