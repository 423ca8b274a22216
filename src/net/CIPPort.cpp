#include "net/CIPPort.h"

#include "net/KeepFailure.h"
#include "net/NetworkWait.h"

#include "core/Dialogs.h"
#include "net/TlsSession.h"

#include <QMetaObject>
#include <QSocketNotifier>

#include <arpa/inet.h>
#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// Receives per read notification before the event loop gets its turn again, so that a fast
// sender cannot keep the window from painting.
constexpr int ReceivesPerNotification = 256;

const QString RecvErrorText = QStringLiteral("Winsock error in recv() ");

} // namespace

CIPPort::CIPPort(QObject* parent)
    : QObject(parent)
    , m_readNotifier(new QSocketNotifier(QSocketNotifier::Read, this))
    , m_writeNotifier(new QSocketNotifier(QSocketNotifier::Write, this))
{
    m_readNotifier->setEnabled(false);
    m_writeNotifier->setEnabled(false);
    connect(m_readNotifier, &QSocketNotifier::activated, this, [this](QSocketDescriptor socket) {
        if (int(socket) == m_fd)
            readReady();
    });
    connect(m_writeNotifier, &QSocketNotifier::activated, this, [this](QSocketDescriptor socket) {
        if (int(socket) == m_fd)
            writeReady();
    });
}

QString CIPPort::describe(int code)
{
    switch (code) {
    case 100:
        return QStringLiteral("You cannot change the RemotePort at this time. A connection is in progress.");
    case 101:
        return QStringLiteral("You cannot change the RemoteHost at this time. A connection is in progress.");
    case 102:
        return QStringLiteral("The RemoteHost address is invalid (0.0.0.0).");
    case 104:
        return QStringLiteral("Already connected. If you want to reconnect, close the current connection first.");
    case 116:
        return QStringLiteral("RemotePort can't be zero. Please specify a valid service port number.");
    case 301:
        return QStringLiteral("Interrupted");
    case TlsFailed:
        return QStringLiteral("The secure connection failed.");
    default:
        return CWinsock::describe(code);
    }
}

CIPPort::~CIPPort()
{
    closeHandle();
}

int CIPPort::setRemoteAddress(quint32 address)
{
    if (hasSocket())
        return 101;
    m_remoteAddress = address;
    return 0;
}

int CIPPort::setRemotePort(quint16 port)
{
    if (hasSocket())
        return 100;
    m_remotePort = port;
    return 0;
}

void CIPPort::setAcceptData(bool accept)
{
    m_acceptData = accept;
    updateReadNotifier();
    if (accept && !m_fifo.isEmpty())
        scheduleDelivery();
    deliverPendingTls();
}

void CIPPort::setEol(const QByteArray& eol, DelimiterMode mode)
{
    m_fifo.setDelimiter(eol, mode);
}

quint32 CIPPort::localAddress() const
{
    if (!m_connected)
        return 0;
    sockaddr_in local{};
    socklen_t length = sizeof local;
    if (getsockname(m_fd, reinterpret_cast<sockaddr*>(&local), &length) != 0)
        return 0;
    return local.sin_addr.s_addr;
}

QString CIPPort::localAddressText() const
{
    if (!m_connected)
        return {};
    in_addr address{};
    address.s_addr = localAddress();
    char text[INET_ADDRSTRLEN] = {};
    inet_ntop(AF_INET, &address, text, sizeof text);
    return QString::fromLatin1(text);
}

QString CIPPort::localHost() const
{
    if (m_connected)
        return localAddressText();
    if (!m_winsock.loaded())
        return CWinsock::describe(10093);
    char name[HOST_NAME_MAX + 1] = {};
    if (gethostname(name, sizeof name - 1) != 0)
        return CWinsock::describe(CWinsock::codeFromErrno(errno));
    return QString::fromLocal8Bit(name);
}

int CIPPort::connectSocket()
{
    if (hasSocket())
        return 104;
    m_fifo.reset();
    m_tlsError.clear();
    if (!m_winsock.loaded())
        return 10093;
    if (m_remoteAddress == 0)
        return 102;
    if (m_remotePort == 0)
        return 116;

    int fd = -1;
    if (const int code = CWinsock::openBoundSocket(m_localPort, fd))
        return code;

    // Options are a preference, not a condition: a refusal leaves the system's default.
    const int keepAlive = m_keepAlive ? 1 : 0;
    setsockopt(fd, SOL_SOCKET, SO_KEEPALIVE, &keepAlive, sizeof keepAlive);
    const linger lingerOption{m_gracefulClose ? 0 : 1, 0};
    setsockopt(fd, SOL_SOCKET, SO_LINGER, &lingerOption, sizeof lingerOption);
    if (m_receiveBufferSize > 0)
        setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &m_receiveBufferSize, sizeof m_receiveBufferSize);
    if (m_sendBufferSize > 0)
        setsockopt(fd, SOL_SOCKET, SO_SNDBUF, &m_sendBufferSize, sizeof m_sendBufferSize);
    const int inlineUrgent = 1;
    setsockopt(fd, SOL_SOCKET, SO_OOBINLINE, &inlineUrgent, sizeof inlineUrgent);

    m_fd = fd;
    m_connected = false;
    m_closePending = false;
    m_closeError = 0;
    m_readNotifier->setSocket(fd);
    m_writeNotifier->setSocket(fd);

    sockaddr_in remote{};
    remote.sin_family = AF_INET;
    remote.sin_addr.s_addr = m_remoteAddress;
    remote.sin_port = htons(m_remotePort);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&remote), sizeof remote) == 0 || errno == EINPROGRESS) {
        // Completion, even an immediate one, is reported by the write notification.
        m_writeNotifier->setEnabled(true);
        return 0;
    }
    // A failure the system reports at once still reaches the client as a connect event, from
    // the event loop, exactly like one that comes later.
    const int code = CWinsock::codeFromErrno(errno);
    QMetaObject::invokeMethod(
        this,
        [this, fd, code] {
            if (m_fd == fd && !m_connected) {
                try {
                    finishConnect(code);
                } catch (...) {
                    handlerFailed(std::current_exception());
                }
            }
        },
        Qt::QueuedConnection);
    return 0;
}

void CIPPort::finishConnect(int error)
{
    m_writeNotifier->setEnabled(false);
    if (error != 0) {
        closeHandle();
        onConnected(error);
        return;
    }
    if (m_tlsOnConnect) {
        beginHandshake();
        return;
    }
    m_connected = true;
    setInlineUrgent(true);
    updateReadNotifier();
    onConnected(0);
}

void CIPPort::disconnectSocket(int error)
{
    if (!hasSocket())
        return;
    if (m_inDelivery) {
        if (!m_closePending)
            m_closeError = error;
        m_closePending = true;
        return;
    }
    m_readNotifier->setEnabled(false);
    m_writeNotifier->setEnabled(false);
    std::exception_ptr failure;
    if (m_acceptData && m_connected)
        keepFailure(failure, [this] { runDelivery(true); });
    closeHandle();
    keepFailure(failure, [this, error] { onDisconnected(error); });
    if (failure)
        std::rethrow_exception(failure);
}

int CIPPort::send(const char* data, qint64 size)
{
    m_bytesLastSent = 0;
    if (!hasSocket() || !m_connected)
        return 10057;
    if (size <= 0)
        return 0;
    const ssize_t sent = sendSome(data, size_t(size));
    if (sent == size) {
        m_bytesLastSent = sent;
        return 0;
    }
    if (sent >= 0 || errno == EAGAIN || errno == EWOULDBLOCK) {
        m_bytesLastSent = sent > 0 ? sent : 0;
        m_writeNotifier->setEnabled(true);
        return 10035;
    }
    return CWinsock::codeFromErrno(errno);
}

int CIPPort::sendUrgent(const QByteArray& data)
{
    m_bytesLastSent = 0;
    if (!hasSocket() || !m_connected)
        return 10057;
    // Urgent data would bypass the TLS records: a secure connection sends it in line.
    if (m_tls)
        return send(data);
    const ssize_t sent = ::send(m_fd, data.constData(), size_t(data.size()), MSG_OOB | MSG_NOSIGNAL);
    if (sent < 0)
        return CWinsock::codeFromErrno(errno);
    m_bytesLastSent = sent;
    return sent == data.size() ? 0 : 10035;
}

void CIPPort::setInlineUrgent(bool on)
{
    if (!hasSocket())
        return;
    const int value = on ? 1 : 0;
    setsockopt(m_fd, SOL_SOCKET, SO_OOBINLINE, &value, sizeof value);
}

void CIPPort::requestReadyToSend()
{
    if (m_connected)
        m_writeNotifier->setEnabled(true);
}

void CIPPort::onConnected(int) { }
void CIPPort::onDisconnected(int) { }
void CIPPort::onDataIn(const QByteArray&, bool) { }
void CIPPort::onReadyToSend() { }
void CIPPort::onTlsStarted(int) { }
void CIPPort::onError(int, const QString&) { }

void CIPPort::handlerFailed(std::exception_ptr error)
{
    try {
        std::rethrow_exception(error);
    } catch (...) {
        handleCurrentException();
    }
}

void CIPPort::adoptSocket(int fd)
{
    closeHandle();
    const int flags = fcntl(fd, F_GETFL);
    if (flags >= 0)
        fcntl(fd, F_SETFL, flags | O_NONBLOCK);
    m_fifo.reset();
    m_fd = fd;
    m_connected = true;
    m_closePending = false;
    m_closeError = 0;
    m_readNotifier->setSocket(fd);
    m_writeNotifier->setSocket(fd);
    setInlineUrgent(true);
    updateReadNotifier();
}

void CIPPort::deliverData()
{
    if (!hasSocket() || m_inDelivery)
        return;
    runDelivery(false);
}

void CIPPort::readReady()
{
    noteNetworkProgress();
    try {
        if (m_handshaking) {
            continueHandshake();
            return;
        }
        deliverData();
    } catch (...) {
        handlerFailed(std::current_exception());
    }
}

void CIPPort::writeReady()
{
    noteNetworkProgress();
    try {
        if (m_handshaking) {
            continueHandshake();
            return;
        }
        if (!m_connected) {
            int error = 0;
            socklen_t length = sizeof error;
            if (getsockopt(m_fd, SOL_SOCKET, SO_ERROR, &error, &length) != 0)
                error = errno;
            finishConnect(CWinsock::codeFromErrno(error));
            return;
        }
        m_writeNotifier->setEnabled(false);
        onReadyToSend();
    } catch (...) {
        handlerFailed(std::current_exception());
    }
}

void CIPPort::runDelivery(bool closing)
{
    m_inDelivery = true;
    // A handler may run an event loop of its own (a dialog, another wait): the level-triggered
    // notifier must stay quiet meanwhile or that loop would spin on it.
    m_readNotifier->setEnabled(false);
    std::exception_ptr failure;
    bool peerClosed = false;
    int receiveError = 0;
    keepFailure(failure, [&] {
        LineFIFO::Piece piece;
        for (int receives = 0;;) {
            while (m_acceptData && m_fifo.takeLine(&piece))
                onDataIn(piece.data, piece.delimited);
            if (!m_acceptData || (m_closePending && !closing))
                break;
            if (m_fifo.takeFull(&piece)) {
                onDataIn(piece.data, piece.delimited);
                continue;
            }
            // Closing reads on only as far as one notification would: a peer that never stops
            // sending (an endless reply being skipped) must not keep the close from happening.
            if (++receives > ReceivesPerNotification)
                break;
            const ssize_t count = receiveSome(m_fifo.freeSpace(), size_t(m_fifo.freeSize()));
            if (count > 0) {
                m_fifo.commit(int(count));
                continue;
            }
            if (count == 0) {
                peerClosed = true;
                break;
            }
            if (errno == EINTR)
                continue;
            const int code = CWinsock::codeFromErrno(errno);
            if (code != 10035 && code != 10038) {
                receiveError = code;
                onError(code, RecvErrorText);
            }
            break;
        }
        if (closing) {
            while (m_acceptData && m_fifo.takeLine(&piece))
                onDataIn(piece.data, piece.delimited);
            if (m_acceptData && m_fifo.takeRest(&piece))
                onDataIn(piece.data, false);
        }
    });
    m_inDelivery = false;
    updateReadNotifier();
    if (!closing)
        deliverPendingTls();
    if (!closing && hasSocket() && (m_closePending || peerClosed || receiveError)) {
        const int error = m_closePending ? m_closeError : receiveError;
        m_closePending = false;
        keepFailure(failure, [this, error] { disconnectSocket(error); });
    }
    if (failure)
        std::rethrow_exception(failure);
}

void CIPPort::updateReadNotifier()
{
    if (m_handshaking)
        return;
    m_readNotifier->setEnabled(hasSocket() && m_connected && m_acceptData);
}

void CIPPort::scheduleDelivery()
{
    if (m_deliveryScheduled || !hasSocket())
        return;
    m_deliveryScheduled = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_deliveryScheduled = false;
            if (m_acceptData)
                readReady();
        },
        Qt::QueuedConnection);
}

void CIPPort::closeHandle()
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
    m_handshaking = false;
    ::close(m_fd);
    m_fd = -1;
    m_connected = false;
    m_acceptData = true;
    m_inDelivery = false;
    m_closePending = false;
    m_bytesLastSent = 0;
}
