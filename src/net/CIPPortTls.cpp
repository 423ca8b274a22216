// CIPPort's TLS: starting a session on the connection, its handshake, and reading and writing
// through it.
#include "net/CIPPort.h"

#include "net/KeepFailure.h"
#include "net/TlsSession.h"

#include <QMetaObject>
#include <QSocketNotifier>

#include <cerrno>
#include <sys/socket.h>

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
    if (!m_connected || m_tls) {
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
        const int fd = m_fd;
        QMetaObject::invokeMethod(
            this,
            [this, fd] {
                if (m_fd == fd)
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
    return m_tls && m_tls->established();
}

bool CIPPort::tlsResumed() const
{
    return m_tls && m_tls->resumed();
}

void CIPPort::beginHandshake()
{
    m_tls = std::make_unique<TlsSession>();
    m_handshaking = true;
    const TlsSession* resumeFrom = m_tlsResumeSource ? m_tlsResumeSource->m_tls.get() : nullptr;
    if (!m_tls->begin(m_fd, m_tlsHost, m_tlsCaFile, resumeFrom)) {
        m_tlsError = m_tls->errorText();
        endHandshake(false);
        return;
    }
    continueHandshake();
}

void CIPPort::continueHandshake()
{
    const TlsSession::Step step = m_tls->handshake();
    m_readNotifier->setEnabled(step == TlsSession::Step::WantRead);
    m_writeNotifier->setEnabled(step == TlsSession::Step::WantWrite);
    if (step == TlsSession::Step::WantRead || step == TlsSession::Step::WantWrite)
        return;
    if (step != TlsSession::Step::Done)
        m_tlsError = m_tls->errorText();
    endHandshake(step == TlsSession::Step::Done);
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
    deliverPendingTls();
}

ssize_t CIPPort::receiveSome(char* data, size_t size)
{
    if (!m_tls)
        return ::recv(m_fd, data, size, 0);
    qint64 count = 0;
    switch (m_tls->read(data, qint64(size), &count)) {
    case TlsSession::Step::Done:
        return ssize_t(count);
    case TlsSession::Step::Closed:
        return 0;
    case TlsSession::Step::WantRead:
    case TlsSession::Step::WantWrite:
        errno = EAGAIN;
        return -1;
    case TlsSession::Step::Failed:
        break;
    }
    m_tlsError = m_tls->errorText();
    errno = ECONNRESET;
    return -1;
}

ssize_t CIPPort::sendSome(const char* data, size_t size)
{
    if (!m_tls)
        return ::send(m_fd, data, size, MSG_NOSIGNAL);
    qint64 count = 0;
    switch (m_tls->write(data, qint64(size), &count)) {
    case TlsSession::Step::Done:
        return ssize_t(count);
    case TlsSession::Step::WantRead:
    case TlsSession::Step::WantWrite:
        errno = EAGAIN;
        return -1;
    default:
        m_tlsError = m_tls->errorText();
        errno = ECONNRESET;
        return -1;
    }
}

void CIPPort::deliverPendingTls()
{
    // Decrypted bytes already inside the session raise no read notification of their own.
    if (m_tls && m_tls->established() && m_acceptData && m_tls->pending() > 0)
        scheduleDelivery();
}
