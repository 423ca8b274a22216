// TagSocket's way to a session: the server's name looked up (cancellable), its port, the
// connection, and TLS started on it.
#include "net/TagSocket.h"

#include "net/HostLookup.h"
#include "net/MailErrors.h"
#include "net/MailHeaderText.h"
#include "net/MailMessages.h"
#include "net/SocketStream.h"
#include "net/TagRas.h"

#include <arpa/inet.h>
#include <netdb.h>

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
    SocketStream::Options options;
    // Every command is small and waits for its reply; held back behind the message's last data
    // segment, the closing "." would wait out the server's delayed acknowledgement (40 ms a mail).
    options.noDelay = true;
    if (const int code = m_stream->open(options))
        raiseSocketError(code);
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
    if (!m_stream->isOpen())
        raiseSocketError(10038);
    m_connectDone = false;
    const StreamResult started = m_stream->connectTo(m_address, m_port);
    if (started.done()) {
        m_connectDone = true;
    } else if (started.kind == StreamResult::Kind::Failed) {
        closeHandle();
        raiseSocketError(started.code);
    } else {
        m_stream->watchWrite(true);
        try {
            waitFor([this] { return m_connectDone; });
        } catch (const ESocketError&) {
            // A connection that never came leaves no socket behind.
            closeHandle();
            throw;
        }
    }
    m_connected = true;
    m_stream->watchRead(true);
}

bool TagSocket::Secure() const
{
    return m_stream->isSecure();
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
    if (m_stream->hasTls())
        raiseTlsError(QStringLiteral("Secure connection to %1 failed: the connection is already secure.").arg(m_host));
    // Text the server sent before the handshake would pass as if it had come secured.
    if (!m_inbox.isEmpty())
        raiseTlsError(
            QStringLiteral("Secure connection to %1 failed: the server sent data before the handshake.").arg(m_host));
    if (!m_stream->beginTls(m_host, CAFile))
        raiseTlsError(m_stream->tlsErrorText());
    m_handshaking = true;
    m_stream->watchRead(false);
    for (;;) {
        const StreamResult step = m_stream->stepHandshake();
        if (step.done())
            break;
        if (step.kind == StreamResult::Kind::Failed)
            raiseTlsError(step.tlsError);
        m_tlsTurn = false;
        waitFor([this] { return m_tlsTurn; });
    }
    m_handshaking = false;
    // Bytes that came with the handshake's last record are announced by the stream.
    m_stream->watchRead(true);
}
