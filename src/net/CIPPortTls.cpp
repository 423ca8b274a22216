// CIPPort's TLS: starting a session on the connection, its handshake, and reading and writing
// through it.
#include "net/CIPPort.h"

#include "net/KeepFailure.h"

#include <QMetaObject>

void CIPPort::setTlsOnConnect(bool on, const QString& host, const QString& caFile)
{
    m_tlsOnConnect = on;
    m_tlsHost = host;
    m_tlsCaFile = caFile;
}

void CIPPort::startTls(const QString& host, const QString& caFile)
{
    m_tlsHost = host;
    m_tlsCaFile = caFile;
    m_tlsError.clear();
    if (!m_connected || m_stream->hasTls()) {
        m_tlsError
            = QStringLiteral("Secure connection to %1 failed: there is no plain connection to secure.").arg(host);
        QMetaObject::invokeMethod(
            this, [this] { onTlsStarted(TlsFailed); }, Qt::QueuedConnection);
        return;
    }
    if (!m_fifo.isEmpty()) {
        // Text the server sent before the handshake would pass as if it had come secured.
        m_tlsError
            = QStringLiteral("Secure connection to %1 failed: the server sent data before the handshake.").arg(host);
        const int fd = m_stream->fd();
        QMetaObject::invokeMethod(
            this,
            [this, fd] {
                if (m_stream->fd() == fd)
                    endHandshake(false);
            },
            Qt::QueuedConnection);
        setAcceptData(false);
        return;
    }
    beginHandshake();
}

bool CIPPort::isSecure() const
{
    return m_stream->isSecure();
}

bool CIPPort::tlsResumed() const
{
    return m_stream->tlsResumed();
}

void CIPPort::beginHandshake()
{
    m_handshaking = true;
    const SocketStream* resumeFrom = m_tlsResumeSource ? m_tlsResumeSource->m_stream : nullptr;
    if (!m_stream->beginTls(m_tlsHost, m_tlsCaFile, resumeFrom)) {
        m_tlsError = m_stream->tlsErrorText();
        endHandshake(false);
        return;
    }
    continueHandshake();
}

void CIPPort::continueHandshake()
{
    // A step that has to wait watches the readiness it needs.
    const StreamResult step = m_stream->stepHandshake();
    if (step.kind == StreamResult::Kind::WouldBlock)
        return;
    m_stream->watch(false, false);
    if (!step.done())
        m_tlsError = step.tlsError;
    endHandshake(step.done());
}

void CIPPort::endHandshake(bool established)
{
    m_handshaking = false;
    const bool midSession = m_connected;
    if (!established) {
        closeHandle();
        if (!midSession) {
            onConnected(TlsFailed);
            return;
        }
        std::exception_ptr failure;
        keepFailure(failure, [this] { onTlsStarted(TlsFailed); });
        keepFailure(failure, [this] { onDisconnected(TlsFailed); });
        if (failure)
            std::rethrow_exception(failure);
        return;
    }
    m_connected = true;
    if (!midSession)
        setInlineUrgent(true);
    updateReadNotifier();
    if (midSession)
        onTlsStarted(0);
    else
        onConnected(0);
}
