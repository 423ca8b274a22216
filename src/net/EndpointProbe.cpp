#include "net/EndpointProbe.h"

#include "net/CWinsock.h"
#include "net/FtpReplyReader.h"
#include "net/HostLookup.h"

#include <QSocketNotifier>
#include <QTimerEvent>

#include <algorithm>

#include <arpa/inet.h>
#include <cerrno>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// A reply line longer than this is no FTP or SMTP server talking.
constexpr qsizetype LineLimit = 64 * 1024;

// What a server's reply line shows of itself in a reason.
QString lineText(const QByteArray& line)
{
    return QString::fromLatin1(line.left(200)).trimmed();
}

} // namespace

QString ProbeResult::text() const
{
    if (!done)
        return QString();
    return reachable ? QStringLiteral("reachable in %1 ms").arg(millis) : reason;
}

EndpointProbe::EndpointProbe(ProbeTarget target, int seconds, QObject* parent)
    : QObject(parent)
    , m_target(std::move(target))
    , m_seconds(seconds)
{
}

EndpointProbe::~EndpointProbe()
{
    if (m_lookupId >= 0)
        HostLookup::abort(m_lookupId);
    closeSocket();
}

void EndpointProbe::start()
{
    m_clock.start();
    if (!m_target.unusable.isEmpty()) {
        fail(m_target.unusable);
        return;
    }
    const QString host = m_target.host.trimmed();
    in_addr dotted{};
    if (inet_pton(AF_INET, host.toLatin1().constData(), &dotted) == 1) {
        looked({}, dotted.s_addr);
        return;
    }
    armLimit();
    // The look-up runs on a thread of its own, so the event loop goes on while it does.
    m_lookupId = HostLookup::start(host, this, [this](int code, quint32 address) {
        m_lookupId = -1;
        looked(code ? CWinsock::describe(code) : QString(), address);
    });
}

void EndpointProbe::armLimit()
{
    // Made once the probe has to wait: a connection that comes up at once needs no clock.
    if (m_limit)
        return;
    // A coarse timer may fire up to 5% early: the time-out is the whole bound, never less.
    m_limit = startTimer(std::max<qint64>(0, m_seconds * 1000 - m_clock.elapsed()), Qt::PreciseTimer);
}

void EndpointProbe::timerEvent(QTimerEvent* event)
{
    if (event->timerId() == m_limit)
        failCode(10060);
}

void EndpointProbe::looked(const QString& hostError, quint32 address)
{
    if (m_stage == Stage::Done)
        return;
    if (!hostError.isEmpty()) {
        fail(hostError);
        return;
    }
    connectTo(address);
}

void EndpointProbe::connectTo(quint32 address)
{
    m_stage = Stage::Connecting;
    m_fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (m_fd < 0) {
        failCode(CWinsock::codeFromErrno(errno));
        return;
    }
    sockaddr_in peer{};
    peer.sin_family = AF_INET;
    peer.sin_port = htons(m_target.port);
    peer.sin_addr.s_addr = address;
    if (::connect(m_fd, reinterpret_cast<const sockaddr*>(&peer), sizeof peer) == 0) {
        connected();
        return;
    }
    if (errno != EINPROGRESS) {
        failCode(CWinsock::codeFromErrno(errno));
        return;
    }
    watch(false, true);
}

void EndpointProbe::watch(bool read, bool write)
{
    if (m_stage == Stage::Done)
        return;
    armLimit();
    // Each notifier is made when first wanted: a plain connect check never reads.
    if (read && !m_readable) {
        m_readable = new QSocketNotifier(m_fd, QSocketNotifier::Read, this);
        connect(m_readable, &QSocketNotifier::activated, this, [this] { socketReady(false); });
    }
    if (write && !m_writable) {
        m_writable = new QSocketNotifier(m_fd, QSocketNotifier::Write, this);
        connect(m_writable, &QSocketNotifier::activated, this, [this] { socketReady(true); });
    }
    if (m_readable)
        m_readable->setEnabled(read);
    if (m_writable)
        m_writable->setEnabled(write);
}

void EndpointProbe::socketReady(bool writable)
{
    switch (m_stage) {
    case Stage::Connecting:
        if (writable)
            connected();
        return;
    case Stage::Handshake:
        stepTls();
        return;
    case Stage::Done:
    case Stage::LookUp:
        return;
    default:
        flush();
        if (m_stage != Stage::Done)
            readReplies();
    }
}

void EndpointProbe::connected()
{
    int error = 0;
    socklen_t size = sizeof error;
    if (::getsockopt(m_fd, SOL_SOCKET, SO_ERROR, &error, &size) != 0)
        error = errno;
    if (error != 0) {
        failCode(CWinsock::codeFromErrno(error));
        return;
    }
    if (m_target.tls == ProbeTarget::Tls::Implicit) {
        beginTls();
    } else if (m_target.kind == ProbeTarget::Kind::Connect) {
        succeed();
    } else {
        m_stage = Stage::Greeting;
        watch(true, false);
    }
}

void EndpointProbe::beginTls()
{
    m_stage = Stage::Handshake;
    m_in.clear();
    m_tls = std::make_unique<TlsSession>();
    if (!m_tls->begin(m_fd, m_target.host.trimmed(), m_target.caFile)) {
        fail(m_tls->errorText());
        return;
    }
    stepTls();
}

void EndpointProbe::stepTls()
{
    switch (m_tls->handshake()) {
    case TlsSession::Step::WantRead:
        watch(true, false);
        return;
    case TlsSession::Step::WantWrite:
        watch(false, true);
        return;
    case TlsSession::Step::Closed:
    case TlsSession::Step::Failed:
        fail(m_tls->errorText());
        return;
    case TlsSession::Step::Done:
        break;
    }
    if (m_target.kind == ProbeTarget::Kind::Connect) {
        succeed();
    } else if (m_target.tls == ProbeTarget::Tls::Implicit) {
        m_stage = Stage::Greeting;
        watch(true, false);
        // The greeting may have come with the handshake's last record, inside the session already.
        readReplies();
    } else {
        // Secured after AUTH TLS or STARTTLS: all that is left is to say goodbye.
        m_stage = Stage::Quitting;
        send("QUIT");
    }
}

void EndpointProbe::send(const QByteArray& line)
{
    m_out += line + "\r\n";
    flush();
}

void EndpointProbe::flush()
{
    bool blocked = false;
    while (!m_out.isEmpty() && !blocked) {
        qint64 count = 0;
        if (m_tls && m_tls->established()) {
            const TlsSession::Step step = m_tls->write(m_out.constData(), m_out.size(), &count);
            if (step == TlsSession::Step::Failed || step == TlsSession::Step::Closed) {
                fail(m_tls->errorText());
                return;
            }
            blocked = step != TlsSession::Step::Done;
        } else {
            count = ::send(m_fd, m_out.constData(), static_cast<size_t>(m_out.size()), MSG_NOSIGNAL);
            if (count < 0) {
                if (errno != EAGAIN && errno != EWOULDBLOCK) {
                    failCode(CWinsock::codeFromErrno(errno));
                    return;
                }
                count = 0;
                blocked = true;
            }
        }
        m_out.remove(0, count);
    }
    watch(true, !m_out.isEmpty());
}

void EndpointProbe::readReplies()
{
    char buffer[4096];
    for (;;) {
        qint64 count = 0;
        bool closed = false;
        if (m_tls && m_tls->established()) {
            const TlsSession::Step step = m_tls->read(buffer, sizeof buffer, &count);
            if (step == TlsSession::Step::WantRead || step == TlsSession::Step::WantWrite)
                break;
            if (step == TlsSession::Step::Failed) {
                fail(m_tls->errorText());
                return;
            }
            closed = step == TlsSession::Step::Closed;
        } else {
            count = ::recv(m_fd, buffer, sizeof buffer, 0);
            if (count < 0) {
                if (errno == EAGAIN || errno == EWOULDBLOCK)
                    break;
                failCode(CWinsock::codeFromErrno(errno));
                return;
            }
            closed = count == 0;
        }
        if (closed) {
            // The goodbye may end with the server closing before its reply.
            if (m_stage == Stage::Quitting)
                succeed();
            else
                fail(QStringLiteral("The server closed the connection"));
            return;
        }
        m_in.append(buffer, count);
        qsizetype end;
        // A reply that started the handshake hands the socket to TLS: nothing more is read here.
        auto reading = [this] { return m_stage != Stage::Done && m_stage != Stage::Handshake; };
        while (reading() && (end = m_in.indexOf('\n')) >= 0) {
            QByteArray line = m_in.left(end);
            m_in.remove(0, end + 1);
            if (line.endsWith('\r'))
                line.chop(1);
            const FtpReplyReader::Verdict verdict = m_reader.put(line);
            if (verdict == FtpReplyReader::Verdict::More)
                continue;
            m_reader = FtpReplyReader();
            replied(verdict == FtpReplyReader::Verdict::Success, line);
        }
        if (!reading())
            return;
        if (m_in.size() > LineLimit) {
            fail(QStringLiteral("The server's reply line is too long"));
            return;
        }
    }
}

void EndpointProbe::replied(bool success, const QByteArray& lastLine)
{
    const bool ftp = m_target.kind == ProbeTarget::Kind::Ftp;
    switch (m_stage) {
    case Stage::Greeting:
        if (!success) {
            fail(QStringLiteral("The server's greeting: ") + lineText(lastLine));
        } else if (m_target.tls == ProbeTarget::Tls::Command) {
            m_stage = Stage::CommandReply;
            m_command = ftp ? QByteArray("AUTH TLS") : QByteArray("EHLO quillet.invalid");
            send(m_command);
        } else {
            m_stage = Stage::Quitting;
            send("QUIT");
        }
        return;
    case Stage::CommandReply:
        if (!success) {
            fail(QString::fromLatin1(m_command.split(' ').constFirst()) + QStringLiteral(": ") + lineText(lastLine));
        } else if (m_command.startsWith("EHLO")) {
            m_command = "STARTTLS";
            send(m_command);
        } else {
            beginTls();
        }
        return;
    case Stage::Quitting:
        succeed();
        return;
    default:
        return;
    }
}

void EndpointProbe::succeed()
{
    if (m_stage == Stage::Done)
        return;
    m_result.reachable = true;
    m_result.millis = m_clock.elapsed();
    m_result.done = true;
    m_stage = Stage::Done;
    closeSocket();
    emit finished();
}

void EndpointProbe::fail(const QString& reason)
{
    if (m_stage == Stage::Done)
        return;
    m_result.reachable = false;
    m_result.reason = reason;
    m_result.millis = m_clock.elapsed();
    m_result.done = true;
    m_stage = Stage::Done;
    closeSocket();
    emit finished();
}

void EndpointProbe::failCode(int code)
{
    fail(CWinsock::describe(code));
}

void EndpointProbe::closeSocket()
{
    if (m_limit) {
        killTimer(m_limit);
        m_limit = 0;
    }
    // The notifiers may be the ones whose signal is being handled.
    for (QSocketNotifier* n : {m_readable, m_writable}) {
        if (n) {
            n->setEnabled(false);
            n->deleteLater();
        }
    }
    m_readable = nullptr;
    m_writable = nullptr;
    if (m_tls && m_tls->established())
        m_tls->shutdown();
    m_tls.reset();
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
}
