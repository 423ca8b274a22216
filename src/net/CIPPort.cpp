#include "net/CIPPort.h"

#include "net/KeepFailure.h"
#include "net/NetworkWait.h"

#include "core/Dialogs.h"

#include <QMetaObject>

#include <arpa/inet.h>
#include <cerrno>
#include <climits>
#include <unistd.h>

namespace {

// Receives per read notification before the event loop gets its turn again, so that a fast
// sender cannot keep the window from painting.
constexpr int ReceivesPerNotification = 256;

const QString RecvErrorText = QStringLiteral("Winsock error in recv() ");

} // namespace

CIPPort::CIPPort(QObject* parent)
    : QObject(parent)
    , m_stream(new SocketStream(this))
{
    connect(m_stream, &SocketStream::readable, this, &CIPPort::readReady);
    connect(m_stream, &SocketStream::writable, this, &CIPPort::writeReady);
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

NetResult CIPPort::result(int code, const QString& description)
{
    using Kind = NetResult::Kind;
    const QString text = description.isEmpty() ? describe(code) : description;
    if (code == 0)
        return {Kind::Ok, 0, text};
    if (code == 301)
        return {Kind::Cancelled, code, text};
    if (code >= 10000 && code < 12000)
        return {Kind::Socket, code, text};
    switch (code) {
    case 100:
    case 101:
    case 102:
    case 104:
    case 116:
    case TlsFailed:
        return {Kind::Port, code, text};
    default:
        return {Kind::System, code, text};
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
}

void CIPPort::setEol(const QByteArray& eol, DelimiterMode mode)
{
    m_fifo.setDelimiter(eol, mode);
}

quint32 CIPPort::localAddress() const
{
    if (!m_connected)
        return 0;
    return m_stream->localAddress();
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

    SocketStream::Options options;
    options.localPort = m_localPort;
    options.keepAlive = m_keepAlive;
    options.resetOnClose = !m_gracefulClose;
    options.receiveBufferSize = m_receiveBufferSize;
    options.sendBufferSize = m_sendBufferSize;
    options.inlineUrgent = true;
    if (const int code = m_stream->open(options))
        return code;
    m_connected = false;
    m_closePending = false;
    m_closeError = 0;

    const StreamResult started = m_stream->connectTo(m_remoteAddress, m_remotePort);
    if (started.kind != StreamResult::Kind::Failed) {
        // Completion, even an immediate one, is reported by the write notification.
        m_stream->watchWrite(true);
        return 0;
    }
    // A failure the system reports at once still reaches the client as a connect event, from
    // the event loop, exactly like one that comes later.
    const int code = started.code;
    const int fd = m_stream->fd();
    QMetaObject::invokeMethod(
        this,
        [this, fd, code] {
            if (m_stream->fd() == fd && !m_connected) {
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
    m_stream->watchWrite(false);
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
    m_stream->watch(false, false);
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
    const StreamResult sent = m_stream->write(data, size);
    if (sent.done() && sent.bytes == size) {
        m_bytesLastSent = size;
        return 0;
    }
    if (sent.kind == StreamResult::Kind::Failed) {
        if (!sent.tlsError.isEmpty())
            m_tlsError = sent.tlsError;
        return sent.code;
    }
    m_bytesLastSent = sent.bytes;
    m_stream->watchWrite(true);
    return 10035;
}

int CIPPort::sendUrgent(const QByteArray& data)
{
    m_bytesLastSent = 0;
    if (!hasSocket() || !m_connected)
        return 10057;
    // Urgent data would bypass the TLS records: a secure connection sends it in line.
    if (m_stream->hasTls())
        return send(data);
    const StreamResult sent = m_stream->writeUrgent(data.constData(), data.size());
    if (sent.kind == StreamResult::Kind::Failed)
        return sent.code;
    m_bytesLastSent = sent.bytes;
    return sent.bytes == data.size() ? 0 : 10035;
}

void CIPPort::setInlineUrgent(bool on)
{
    m_stream->setInlineUrgent(on);
}

void CIPPort::requestReadyToSend()
{
    if (m_connected)
        m_stream->watchWrite(true);
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
    m_stream->adopt(fd);
    m_fifo.reset();
    m_connected = true;
    m_closePending = false;
    m_closeError = 0;
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
            finishConnect(m_stream->connectError());
            return;
        }
        m_stream->watchWrite(false);
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
    m_stream->watchRead(false);
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
            const StreamResult got = m_stream->read(m_fifo.freeSpace(), m_fifo.freeSize());
            if (got.done()) {
                m_fifo.commit(int(got.bytes));
                continue;
            }
            if (got.kind == StreamResult::Kind::PeerClosed) {
                peerClosed = true;
                break;
            }
            if (got.kind == StreamResult::Kind::Failed) {
                if (!got.tlsError.isEmpty())
                    m_tlsError = got.tlsError;
                // A socket closed meanwhile has nothing more to say.
                if (got.code != 10038) {
                    receiveError = got.code;
                    onError(got.code, RecvErrorText);
                }
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
    // Decrypted bytes left inside the TLS session are announced by the stream once reads are
    // watched again.
    updateReadNotifier();
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
    m_stream->watchRead(hasSocket() && m_connected && m_acceptData);
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
    if (!hasSocket())
        return;
    m_stream->close();
    m_handshaking = false;
    m_connected = false;
    m_acceptData = true;
    m_inDelivery = false;
    m_closePending = false;
    m_bytesLastSent = 0;
}
