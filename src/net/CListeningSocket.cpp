#include "net/CListeningSocket.h"

#include <QSocketNotifier>

#include <arpa/inet.h>
#include <cerrno>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

CListeningSocket::CListeningSocket(QObject* parent)
    : CIPPort(parent)
    , m_acceptNotifier(new QSocketNotifier(QSocketNotifier::Read, this))
{
    m_acceptNotifier->setEnabled(false);
    connect(m_acceptNotifier, &QSocketNotifier::activated, this, [this](QSocketDescriptor socket) {
        if (int(socket) == m_listenFd)
            acceptReady();
    });
}

CListeningSocket::~CListeningSocket()
{
    stopListening();
}

int CListeningSocket::listen(quint32 localAddress, quint32 acceptFrom)
{
    stopListening();
    if (!winsock().loaded())
        return 10093;
    m_acceptFrom = acceptFrom;
    int fd = -1;
    if (const int code = CWinsock::openBoundSocket(0, fd, localAddress))
        return code;
    if (::listen(fd, 1) != 0) {
        const int code = CWinsock::codeFromErrno(errno);
        ::close(fd);
        return code;
    }
    m_listenFd = fd;
    m_acceptNotifier->setSocket(fd);
    m_acceptNotifier->setEnabled(true);
    return 0;
}

quint16 CListeningSocket::listeningPort() const
{
    if (m_listenFd < 0)
        return 0;
    sockaddr_in local{};
    socklen_t length = sizeof local;
    if (getsockname(m_listenFd, reinterpret_cast<sockaddr*>(&local), &length) != 0)
        return 0;
    return ntohs(local.sin_port);
}

void CListeningSocket::stopListening()
{
    if (m_listenFd < 0)
        return;
    m_acceptNotifier->setEnabled(false);
    m_acceptNotifier->setSocket(-1);
    ::close(m_listenFd);
    m_listenFd = -1;
}

void CListeningSocket::onAccepted() { }

void CListeningSocket::acceptReady()
{
    try {
        sockaddr_in peer{};
        socklen_t length = sizeof peer;
        const int fd = ::accept4(m_listenFd, reinterpret_cast<sockaddr*>(&peer), &length, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0) {
            if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR || errno == ECONNABORTED)
                return;
            stopListening();
            onError(AcceptFailed, QStringLiteral("Failed to accept new socket."));
            return;
        }
        // Whoever reaches the port first would get the file: only the expected peer may.
        if (m_acceptFrom != 0 && peer.sin_addr.s_addr != m_acceptFrom) {
            ::close(fd);
            return;
        }
        stopListening();
        if (hasSocket()) {
            ::close(fd);
            onError(AcceptFailed, QStringLiteral("Failed to accept new socket."));
            return;
        }
        adoptSocket(fd);
        onAccepted();
    } catch (...) {
        handlerFailed(std::current_exception());
    }
}
