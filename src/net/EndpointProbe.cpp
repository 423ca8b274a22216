#include "net/EndpointProbe.h"

#include "net/CWinsock.h"
#include "net/FtpReplyReader.h"
#include "net/HostLookup.h"
#include "net/SocketStream.h"

#include <QTimerEvent>

#include <algorithm>

#include <arpa/inet.h>

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
    , m_stream(new SocketStream(this))
{
    connect(m_stream, &SocketStream::readable, this, [this] { socketReady(false); });
    connect(m_stream, &SocketStream::writable, this, [this] { socketReady(true); });
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
    SocketStream::Options options;
    options.bind = false;
    if (const int code = m_stream->open(options)) {
        failCode(code);
        return;
    }
    const StreamResult started = m_stream->connectTo(address, m_target.port);
    if (started.done())
        connected();
    else if (started.kind == StreamResult::Kind::WouldBlock)
        watch(false, true);
    else
        failCode(started.code);
}

void EndpointProbe::watch(bool read, bool write)
{
    if (m_stage == Stage::Done)
        return;
    armLimit();
    m_stream->watch(read, write);
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
    if (const int error = m_stream->connectError()) {
        failCode(error);
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
    if (!m_stream->beginTls(m_target.host.trimmed(), m_target.caFile)) {
        fail(m_stream->tlsErrorText());
        return;
    }
    stepTls();
}

void EndpointProbe::stepTls()
{
    const StreamResult step = m_stream->stepHandshake();
    if (step.kind == StreamResult::Kind::WouldBlock) {
        armLimit();
        return;
    }
    if (!step.done()) {
        fail(step.tlsError);
        return;
    }
    if (m_target.kind == ProbeTarget::Kind::Connect) {
        succeed();
    } else if (m_target.tls == ProbeTarget::Tls::Implicit) {
        // A greeting that came with the handshake's last record is announced by the stream.
        m_stage = Stage::Greeting;
        watch(true, false);
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
    while (!m_out.isEmpty()) {
        const StreamResult sent = m_stream->write(m_out.constData(), m_out.size());
        if (sent.kind == StreamResult::Kind::WouldBlock)
            break;
        if (sent.kind == StreamResult::Kind::Failed) {
            failStream(sent.code, sent.tlsError);
            return;
        }
        m_out.remove(0, sent.bytes);
    }
    watch(true, !m_out.isEmpty());
}

void EndpointProbe::readReplies()
{
    char buffer[4096];
    for (;;) {
        const StreamResult got = m_stream->read(buffer, sizeof buffer);
        if (got.kind == StreamResult::Kind::WouldBlock)
            break;
        if (got.kind == StreamResult::Kind::Failed) {
            failStream(got.code, got.tlsError);
            return;
        }
        if (got.kind == StreamResult::Kind::PeerClosed) {
            // The goodbye may end with the server closing before its reply.
            if (m_stage == Stage::Quitting)
                succeed();
            else
                fail(QStringLiteral("The server closed the connection"));
            return;
        }
        m_in.append(buffer, got.bytes);
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

void EndpointProbe::failStream(int code, const QString& tlsError)
{
    if (tlsError.isEmpty())
        failCode(code);
    else
        fail(tlsError);
}

void EndpointProbe::closeSocket()
{
    if (m_limit) {
        killTimer(m_limit);
        m_limit = 0;
    }
    m_stream->close();
}
