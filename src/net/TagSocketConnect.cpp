// TagSocket's way to a session: the server's name looked up (cancellable), its port, the
// connection, and TLS started on it.
#include "net/TagSocket.h"

#include "net/HostLookup.h"
#include "net/MailErrors.h"
#include "net/MailHeaderText.h"
#include "net/MailMessages.h"
#include "net/TagRas.h"
#include "net/TlsSession.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

[[noreturn]] void raiseMessage(int id)
{
    throw EMessageError(id, MailMessages::text(id));
}

} // namespace

void TagSocket::Open()
{
    if (RAS)
        RAS->ensureConnected();
    emit OnOpen();
    if (Server.isEmpty())
        raiseMessage(MailMessages::ServerRequired);
    m_winsock.setLoaded(true);

    const qsizetype colon = Server.indexOf(QLatin1Char(':'));
    const QString host = (colon < 0 ? Server : Server.left(colon)).trimmed();
    m_host = host;
    LocalHostName = MailHeaderText::localHostName();
    if (LocalHostName.isEmpty())
        LocalHostName = host;

    lookUpHost(host);
    resolvePort(colon < 0 ? QString() : Server.mid(colon + 1));

    closeHandle();
    int fd = -1;
    if (const int code = CWinsock::openBoundSocket(0, fd))
        raiseSocketError(code);
    m_fd = fd;
    // Every command is small and waits for its reply; held back behind the message's last data
    // segment, the closing "." would wait out the server's delayed acknowledgement (40 ms a mail).
    const int noDelay = 1;
    setsockopt(m_fd, IPPROTO_TCP, TCP_NODELAY, &noDelay, sizeof noDelay);
    m_readNotifier = new QSocketNotifier(qintptr(m_fd), QSocketNotifier::Read, this);
    m_writeNotifier = new QSocketNotifier(qintptr(m_fd), QSocketNotifier::Write, this);
    m_readNotifier->setEnabled(false);
    m_writeNotifier->setEnabled(false);
    connect(m_readNotifier, &QSocketNotifier::activated, this, &TagSocket::readReady);
    connect(m_writeNotifier, &QSocketNotifier::activated, this, &TagSocket::writeReady);
}

void TagSocket::lookUpHost(const QString& host)
{
    in_addr dotted{};
    const QByteArray name = host.toLatin1();
    if (!name.isEmpty() && inet_pton(AF_INET, name.constData(), &dotted) == 1) {
        m_address = dotted.s_addr;
        return;
    }
    m_address = 0;
    m_lookupDone = false;
    m_lookupId = HostLookup::start(host, this, [this](int code, quint32 address) {
        m_lookupId = -1;
        // A name with no IPv4 address is the mail stack's own "cannot resolve"; other failures
        // are the resolver's codes.
        if (code != 0 && code != 11004) {
            m_asyncError = code;
            return;
        }
        m_address = address;
        m_lookupDone = true;
    });
    waitFor([this] { return m_lookupDone; });
    if (m_address == 0)
        raiseMessage(MailMessages::ResolveFailed);
}

void TagSocket::resolvePort(const QString& portText)
{
    bool ok = false;
    const uint number = portText.trimmed().toUInt(&ok);
    if (ok && number > 0 && number <= 0xFFFF) {
        m_port = quint16(number);
        return;
    }
    if (Service.isEmpty())
        raiseMessage(MailMessages::ServiceRequired);
    // The services file is local: the look-up does not wait for the network.
    const servent* entry = ::getservbyname(Service.toLatin1().constData(), "tcp");
    m_port = entry ? ntohs(quint16(entry->s_port)) : DefaultPort;
}

void TagSocket::Connect()
{
    if (m_canceled) {
        QString text = MailMessages::text(MailMessages::Canceled);
        emit OnError(text);
        throw ECanceledError(text);
    }
    if (m_fd < 0)
        raiseSocketError(10038);
    sockaddr_in remote{};
    remote.sin_family = AF_INET;
    remote.sin_addr.s_addr = m_address;
    remote.sin_port = htons(m_port);
    m_connectDone = false;
    if (::connect(m_fd, reinterpret_cast<sockaddr*>(&remote), sizeof remote) == 0) {
        m_connectDone = true;
    } else if (errno != EINPROGRESS) {
        const int code = CWinsock::codeFromErrno(errno);
        closeHandle();
        raiseSocketError(code);
    } else {
        m_writeNotifier->setEnabled(true);
        try {
            waitFor([this] { return m_connectDone; });
        } catch (const ESocketError&) {
            // A connection that never came leaves no socket behind.
            closeHandle();
            throw;
        }
    }
    m_connected = true;
    m_readNotifier->setEnabled(true);
}

bool TagSocket::Secure() const
{
    return m_tls && m_tls->established();
}

void TagSocket::raiseTlsError(const QString& message)
{
    Close();
    QString text = message;
    emit OnError(text);
    throw ESocketError(TlsFailed, text);
}

void TagSocket::StartTLS()
{
    requireConnected();
    if (m_tls)
        raiseTlsError(QStringLiteral("Secure connection to %1 failed: the connection is already secure.").arg(m_host));
    // Text the server sent before the handshake would pass as if it had come secured.
    if (!m_inbox.isEmpty())
        raiseTlsError(
            QStringLiteral("Secure connection to %1 failed: the server sent data before the handshake.").arg(m_host));
    m_tls = std::make_unique<TlsSession>();
    if (!m_tls->begin(m_fd, m_host, CAFile))
        raiseTlsError(m_tls->errorText());
    m_handshaking = true;
    m_readNotifier->setEnabled(false);
    for (;;) {
        const TlsSession::Step step = m_tls->handshake();
        if (step == TlsSession::Step::Done)
            break;
        if (step != TlsSession::Step::WantRead && step != TlsSession::Step::WantWrite)
            raiseTlsError(m_tls->errorText());
        m_tlsTurn = false;
        (step == TlsSession::Step::WantRead ? m_readNotifier : m_writeNotifier)->setEnabled(true);
        waitFor([this] { return m_tlsTurn; });
    }
    m_handshaking = false;
    m_readNotifier->setEnabled(true);
    if (m_tls->pending() > 0)
        readReady();
}
