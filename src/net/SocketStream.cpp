#include "net/SocketStream.h"

#include "net/CWinsock.h"
#include "net/TlsSession.h"

#include <QMetaObject>
#include <QPointer>
#include <QSocketNotifier>

#include <arpa/inet.h>
#include <cerrno>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// A TLS session that failed mid-stream reads as a connection the peer reset.
constexpr int TlsBroken = 10054;

int lastError()
{
    return CWinsock::codeFromErrno(errno);
}

} // namespace

SocketStream::SocketStream(QObject* parent)
    : QObject(parent)
    , m_readNotifier(new QSocketNotifier(QSocketNotifier::Read, this))
    , m_writeNotifier(new QSocketNotifier(QSocketNotifier::Write, this))
{
    m_readNotifier->setEnabled(false);
    m_writeNotifier->setEnabled(false);
    connect(m_readNotifier, &QSocketNotifier::activated, this, [this](QSocketDescriptor socket) {
        if (int(socket) == m_fd)
            emitReadable();
    });
    connect(m_writeNotifier, &QSocketNotifier::activated, this, [this](QSocketDescriptor socket) {
        if (int(socket) == m_fd)
            emit writable();
    });
}

SocketStream::~SocketStream()
{
    close();
}

int SocketStream::open(const Options& options)
{
    close();
    int fd = -1;
    if (options.bind) {
        if (const int code = CWinsock::openBoundSocket(options.localPort, fd))
            return code;
    } else {
        fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        if (fd < 0)
            return lastError();
    }
    if (options.keepAlive) {
        const int on = *options.keepAlive ? 1 : 0;
        setsockopt(fd, SOL_SOCKET, SO_KEEPALIVE, &on, sizeof on);
    }
    if (options.resetOnClose) {
        const linger lingerOption{*options.resetOnClose ? 1 : 0, 0};
        setsockopt(fd, SOL_SOCKET, SO_LINGER, &lingerOption, sizeof lingerOption);
    }
    if (options.receiveBufferSize > 0)
        setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &options.receiveBufferSize, sizeof options.receiveBufferSize);
    if (options.sendBufferSize > 0)
        setsockopt(fd, SOL_SOCKET, SO_SNDBUF, &options.sendBufferSize, sizeof options.sendBufferSize);
    if (options.inlineUrgent) {
        const int on = 1;
        setsockopt(fd, SOL_SOCKET, SO_OOBINLINE, &on, sizeof on);
    }
    if (options.noDelay) {
        const int on = 1;
        setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    }
    adopt(fd);
    return 0;
}

StreamResult SocketStream::connectTo(quint32 address, quint16 port)
{
    if (m_fd < 0)
        return StreamResult::failed(10038);
    sockaddr_in remote{};
    remote.sin_family = AF_INET;
    remote.sin_addr.s_addr = address;
    remote.sin_port = htons(port);
    if (::connect(m_fd, reinterpret_cast<sockaddr*>(&remote), sizeof remote) == 0)
        return {};
    if (errno == EINPROGRESS)
        return StreamResult::wouldBlock();
    return StreamResult::failed(lastError());
}

int SocketStream::connectError() const
{
    int error = 0;
    socklen_t length = sizeof error;
    if (::getsockopt(m_fd, SOL_SOCKET, SO_ERROR, &error, &length) != 0)
        error = errno;
    return CWinsock::codeFromErrno(error);
}

void SocketStream::adopt(int fd)
{
    if (fd != m_fd)
        close();
    const int flags = fcntl(fd, F_GETFL);
    if (flags >= 0 && !(flags & O_NONBLOCK))
        fcntl(fd, F_SETFL, flags | O_NONBLOCK);
    m_fd = fd;
    ++m_generation;
    m_pendingAnnounced = false;
    m_tlsError.clear();
    m_readNotifier->setSocket(fd);
    m_writeNotifier->setSocket(fd);
}

void SocketStream::close()
{
    if (m_fd < 0)
        return;
    m_readNotifier->setEnabled(false);
    m_writeNotifier->setEnabled(false);
    m_readNotifier->setSocket(-1);
    m_writeNotifier->setSocket(-1);
    if (m_tls)
        m_tls->shutdown();
    m_tls.reset();
    ::close(m_fd);
    m_fd = -1;
    ++m_generation;
}

bool SocketStream::beginTls(const QString& host, const QString& caFile, const SocketStream* resumeFrom)
{
    m_tls = std::make_unique<TlsSession>();
    const TlsSession* resume = resumeFrom ? resumeFrom->m_tls.get() : nullptr;
    if (m_tls->begin(m_fd, host, caFile, resume))
        return true;
    m_tlsError = m_tls->errorText();
    return false;
}

StreamResult SocketStream::stepHandshake()
{
    if (!m_tls)
        return StreamResult::failed(10057);
    const TlsSession::Step step = m_tls->handshake();
    if (step == TlsSession::Step::Done)
        return {};
    if (step == TlsSession::Step::WantRead || step == TlsSession::Step::WantWrite) {
        watch(step == TlsSession::Step::WantRead, step == TlsSession::Step::WantWrite);
        return StreamResult::wouldBlock();
    }
    return tlsFailure(CWinsock::codeFromErrno(ECONNRESET));
}

bool SocketStream::isSecure() const
{
    return m_tls && m_tls->established();
}

bool SocketStream::tlsResumed() const
{
    return m_tls && m_tls->resumed();
}

StreamResult SocketStream::tlsFailure(int code)
{
    m_tlsError = m_tls->errorText();
    return StreamResult::failed(code, m_tlsError);
}

StreamResult SocketStream::read(char* data, qint64 size)
{
    if (m_fd < 0)
        return StreamResult::failed(10038);
    if (m_tls) {
        qint64 count = 0;
        switch (m_tls->read(data, size, &count)) {
        case TlsSession::Step::Done:
            return StreamResult::moved(count);
        case TlsSession::Step::Closed:
            return StreamResult::peerClosed();
        case TlsSession::Step::WantRead:
        case TlsSession::Step::WantWrite:
            return StreamResult::wouldBlock();
        case TlsSession::Step::Failed:
            break;
        }
        return tlsFailure(TlsBroken);
    }
    for (;;) {
        const ssize_t count = ::recv(m_fd, data, size_t(size), 0);
        if (count > 0)
            return StreamResult::moved(qint64(count));
        if (count == 0)
            return StreamResult::peerClosed();
        if (errno == EINTR)
            continue;
        if (errno == EAGAIN || errno == EWOULDBLOCK)
            return StreamResult::wouldBlock();
        return StreamResult::failed(lastError());
    }
}

StreamResult SocketStream::write(const char* data, qint64 size)
{
    if (m_fd < 0)
        return StreamResult::failed(10038);
    if (size <= 0)
        return {};
    if (m_tls) {
        qint64 count = 0;
        switch (m_tls->write(data, size, &count)) {
        case TlsSession::Step::Done:
            return StreamResult::moved(count);
        case TlsSession::Step::WantRead:
        case TlsSession::Step::WantWrite:
            return StreamResult::wouldBlock();
        default:
            return tlsFailure(TlsBroken);
        }
    }
    for (;;) {
        const ssize_t count = ::send(m_fd, data, size_t(size), MSG_NOSIGNAL);
        if (count >= 0)
            return StreamResult::moved(qint64(count));
        if (errno == EINTR)
            continue;
        if (errno == EAGAIN || errno == EWOULDBLOCK)
            return StreamResult::wouldBlock();
        return StreamResult::failed(lastError());
    }
}

StreamResult SocketStream::writeUrgent(const char* data, qint64 size)
{
    // Urgent data would bypass the TLS records: a secure connection sends it in line.
    if (m_tls)
        return write(data, size);
    if (m_fd < 0)
        return StreamResult::failed(10038);
    const ssize_t count = ::send(m_fd, data, size_t(size), MSG_OOB | MSG_NOSIGNAL);
    if (count < 0)
        return StreamResult::failed(lastError());
    return StreamResult::moved(qint64(count));
}

void SocketStream::setInlineUrgent(bool on)
{
    if (m_fd < 0)
        return;
    const int value = on ? 1 : 0;
    setsockopt(m_fd, SOL_SOCKET, SO_OOBINLINE, &value, sizeof value);
}

void SocketStream::watch(bool read, bool write)
{
    watchRead(read);
    watchWrite(write);
}

void SocketStream::watchRead(bool on)
{
    m_readNotifier->setEnabled(on && m_fd >= 0);
    if (on)
        announcePendingTls();
}

void SocketStream::watchWrite(bool on)
{
    m_writeNotifier->setEnabled(on && m_fd >= 0);
}

bool SocketStream::watchingRead() const
{
    return m_readNotifier->isEnabled();
}

void SocketStream::emitReadable()
{
    const QPointer<SocketStream> alive(this);
    emit readable();
    // A reader that took less than the session holds hears of the rest too.
    if (alive && m_readNotifier->isEnabled())
        announcePendingTls();
}

void SocketStream::announcePendingTls()
{
    if (m_pendingAnnounced || !m_tls || !m_tls->established() || m_tls->pending() <= 0)
        return;
    m_pendingAnnounced = true;
    const quint64 generation = m_generation;
    QMetaObject::invokeMethod(
        this,
        [this, generation] {
            if (generation != m_generation)
                return;
            m_pendingAnnounced = false;
            if (m_readNotifier->isEnabled())
                emitReadable();
        },
        Qt::QueuedConnection);
}

quint32 SocketStream::localAddress() const
{
    if (m_fd < 0)
        return 0;
    sockaddr_in local{};
    socklen_t length = sizeof local;
    if (getsockname(m_fd, reinterpret_cast<sockaddr*>(&local), &length) != 0)
        return 0;
    return local.sin_addr.s_addr;
}
