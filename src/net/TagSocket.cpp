#include "net/TagSocket.h"

#include "net/HostLookup.h"
#include "net/MailSpool.h"

#include "net/EventWait.h"
#include "net/MailErrors.h"
#include "net/MailMessages.h"
#include "net/SocketStream.h"
#include "net/TagRas.h"

#include <QCoreApplication>
#include <QFile>
#include <QIODevice>

#include <array>
#include <cstring>

namespace {

// Received bytes kept ahead of the reader before the socket is left to hold the rest.
constexpr qsizetype InboxLimit = 64 * 1024;
constexpr qsizetype MaxReplyBytes = 64 * 1024;

QString withoutLineBreaks(const QString& text)
{
    QString safe = text;
    safe.replace(QLatin1Char('\r'), QLatin1Char(' '));
    safe.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return safe;
}

[[noreturn]] void raiseMessage(int id)
{
    throw EMessageError(id, MailMessages::text(id));
}

} // namespace

TagSocket::TagSocket(QObject* parent)
    : QObject(parent)
    , m_stream(new SocketStream(this))
{
    connect(m_stream, &SocketStream::readable, this, &TagSocket::readReady);
    connect(m_stream, &SocketStream::writable, this, &TagSocket::writeReady);
}

TagSocket::~TagSocket()
{
    closeHandle();
    if (LogFileName.isEmpty())
        return;
    QFile file(LogFileName);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        for (const QString& line : Transcript) {
            file.write(line.toLocal8Bit());
            file.write("\r\n", 2);
        }
    }
}

void TagSocket::resetSession()
{
    m_canceled = false;
    m_counter.clearTimedOut();
    m_lookupDone = false;
    m_asyncError = 0;
    m_connectDone = false;
    m_writable = false;
    m_peerClosed = false;
    m_inbox.clear();
    m_reader = SmtpReplyReader();
}

void TagSocket::waitFor(const std::function<bool()>& done)
{
    // The mail client counts its own time-out (TimeOut), not the stall limit.
    EventWait wait(NetworkWait::Watch::OwnTimeout);
    m_counter.Start();
    wait.until<bool>([&](bool interrupted) -> std::optional<bool> {
        if (!m_canceled && interrupted)
            Cancel();
        if (m_canceled) {
            m_counter.Stop();
            QString text = MailMessages::text(MailMessages::Canceled);
            emit OnError(text);
            throw ECanceledError(text);
        }
        if (done())
            return true;
        if (m_counter.TimedOut()) {
            if (m_lookupId >= 0) {
                HostLookup::abort(m_lookupId);
                m_lookupId = -1;
            }
            Close();
            QString text = MailMessages::text(MailMessages::TimedOut);
            emit OnError(text);
            throw ETimedOutError(text);
        }
        if (m_asyncError) {
            m_counter.Stop();
            const int code = m_asyncError;
            m_asyncError = 0;
            raiseSocketError(code);
        }
        return std::nullopt;
    });
    m_counter.Stop();
}

void TagSocket::raiseSocketError(int code)
{
    if (code == 10054)
        Close();
    QString text = MailMessages::socketErrorText(code);
    emit OnError(text);
    throw ESocketError(code, text);
}

void TagSocket::raiseServerError()
{
    throw EServerError(ReplyText);
}

void TagSocket::readReady()
{
    if (m_handshaking) {
        m_stream->watchRead(false);
        m_tlsTurn = true;
        return;
    }
    char buffer[16384];
    for (;;) {
        const StreamResult got = m_stream->read(buffer, sizeof buffer);
        switch (got.kind) {
        case StreamResult::Kind::Done:
            m_inbox.append(buffer, got.bytes);
            if (m_inbox.size() >= InboxLimit) {
                m_stream->watchRead(false);
                return;
            }
            continue;
        case StreamResult::Kind::PeerClosed:
            m_peerClosed = true;
            m_stream->watchRead(false);
            return;
        case StreamResult::Kind::Failed:
            m_asyncError = got.code;
            m_stream->watchRead(false);
            return;
        case StreamResult::Kind::WouldBlock:
            return;
        }
    }
}

void TagSocket::writeReady()
{
    m_stream->watchWrite(false);
    if (m_handshaking) {
        m_tlsTurn = true;
        return;
    }
    if (!m_connected && !m_connectDone) {
        if (const int error = m_stream->connectError())
            m_asyncError = error;
        else
            m_connectDone = true;
        return;
    }
    m_writable = true;
}

void TagSocket::requireConnected() const
{
    if (!m_connected)
        raiseMessage(MailMessages::NotConnected);
}

int TagSocket::ReadReplyLine(QByteArray* line)
{
    requireConnected();
    for (;;) {
        const qsizetype used = m_reader.putLine(m_inbox.constData(), m_inbox.size());
        m_inbox.remove(0, used);
        // Bytes already decrypted inside the TLS session are announced by the stream.
        if (m_inbox.size() < InboxLimit && !m_peerClosed && m_stream->isOpen() && !m_asyncError)
            m_stream->watchRead(true);
        if (m_reader.lineReady())
            break;
        if (m_peerClosed) {
            m_reader.finishLine();
            break;
        }
        waitFor([this] { return !m_inbox.isEmpty() || m_peerClosed; });
    }
    const QByteArray text = m_reader.takeLine();
    ReplyText = QString::fromLatin1(text);
    if (!LogFileName.isEmpty())
        Transcript << ReplyText;
    if (line)
        *line = text;
    return SmtpReplyReader::lineCode(text);
}

int TagSocket::GetReply()
{
    m_reader.startReply();
    ReplyLines.clear();
    QByteArray first;
    ReadReplyLine(&first);
    ReplyLines << first;
    // A server that hangs up without a word: say so rather than raise an empty reply text.
    if (first.isEmpty() && m_peerClosed && m_inbox.isEmpty())
        raiseSocketError(10054);
    qsizetype replyBytes = first.size() + 2;
    while (!m_reader.replyDone() && !(m_peerClosed && m_inbox.isEmpty())) {
        QByteArray line;
        ReadReplyLine(&line);
        replyBytes += line.size() + 2;
        // An endless reply is a broken or hostile server: it is not read on.
        if (replyBytes > MaxReplyBytes) {
            ReplyLines.clear();
            Close();
            throw EServerError(QStringLiteral("The server's reply is longer than %1 KB; it was not read further.")
                                   .arg(MaxReplyBytes / 1024));
        }
        ReplyLines << line;
    }
    return m_reader.replyCode();
}

void TagSocket::SendLine(const QString& text)
{
    requireConnected();
    const QString line = withoutLineBreaks(text);
    sendAll(line.toLocal8Bit() + "\r\n");
    if (!LogFileName.isEmpty())
        Transcript << line;
}

void TagSocket::SendSecretLine(const QByteArray& line, const QString& shown)
{
    requireConnected();
    sendAll(line + "\r\n");
    if (!LogFileName.isEmpty())
        Transcript << shown;
}

void TagSocket::sendAll(const QByteArray& bytes)
{
    sendAll(bytes.constData(), bytes.size());
}

void TagSocket::sendAll(const char* bytes, qint64 size)
{
    qint64 sent = 0;
    while (sent < size) {
        if (!m_stream->isOpen())
            raiseSocketError(10057);
        const StreamResult wrote = m_stream->write(bytes + sent, size - sent);
        if (wrote.kind == StreamResult::Kind::Failed)
            raiseSocketError(wrote.code);
        if (wrote.done()) {
            sent += wrote.bytes;
            continue;
        }
        // Each wait for room starts a fresh countdown: the time-out counts from the last bytes
        // the connection accepted.
        m_writable = false;
        m_stream->watchWrite(true);
        waitFor([this] { return m_writable; });
    }
}

void TagSocket::SendStream(QIODevice& stream)
{
    requireConnected();
    if (!LogFileName.isEmpty())
        Transcript << QStringLiteral("Suppressing the message body");
    stream.seek(0);
    const qint64 size = stream.size();
    bool lineStart = true;
    qint64 position = 0;
    QByteArray out;
    // Sends one chunk, dot-stuffed: a line that begins with "." gets one more in front, which the
    // server strips again. Most chunks have none and go as they are, unscanned when known to.
    const auto sendChunk = [&](const char* data, qint64 count, bool knownFree = false) {
        if (!knownFree && needsDotStuffing(data, count, lineStart)) {
            out.clear();
            dotStuff(data, count, &lineStart, &out);
            sendAll(out.constData(), out.size());
        } else {
            sendAll(data, count);
            lineStart = data[count - 1] == '\n';
        }
        position += count;
        emit OnProgress(size > 0 ? int((position * 100 + size / 2) / size) : 0, position);
        // Let Cancel and the window's events in between chunks.
        QCoreApplication::processEvents();
        if (m_canceled)
            waitFor([] { return false; }); // raises the cancel at once
    };
    // A message spooled in memory is sent from where it lies, not copied out chunk by chunk.
    if (const auto* spool = qobject_cast<const MailSpool*>(&stream)) {
        for (std::size_t i = 0; i < spool->pieces().size(); ++i) {
            const QByteArray& piece = spool->pieces()[i];
            // A piece taken from elsewhere (a body every mail shares) and known to need no stuffing
            // goes without a scan; the mail's own pieces, an attachment among them, are not kept.
            const bool free = lineStart && spool->taken(i) && stuffingFree(piece);
            for (qint64 at = 0; at < piece.size(); at += ChunkSize)
                sendChunk(piece.constData() + at, std::min<qint64>(ChunkSize, piece.size() - at), free);
        }
    } else {
        QByteArray chunk(ChunkSize, Qt::Uninitialized);
        for (qint64 count; (count = stream.read(chunk.data(), ChunkSize)) > 0;)
            sendChunk(chunk.constData(), count);
    }
    stream.seek(size);
    emit OnProgress(0, 0);
}

bool TagSocket::stuffingFree(const QByteArray& piece)
{
    if (piece.size() < ChunkSize)
        return !needsDotStuffing(piece.constData(), piece.size(), true);
    // A kept piece holds its bytes: one at the same address with the same size is the same piece.
    struct Kept
    {
        QByteArray piece;
        bool free = false;
    };
    thread_local std::array<Kept, 4> kept;
    thread_local std::size_t next = 0;
    for (const Kept& k : kept) {
        if (k.piece.constData() == piece.constData() && k.piece.size() == piece.size())
            return k.free;
    }
    const bool free = !needsDotStuffing(piece.constData(), piece.size(), true);
    kept[next] = {piece, free};
    next = (next + 1) % kept.size();
    return free;
}

bool TagSocket::needsDotStuffing(const char* data, qint64 size, bool lineStart)
{
    if (size <= 0)
        return false;
    if (lineStart && data[0] == '.')
        return true;
    qint64 scan = 0;
    while (const auto* lf = static_cast<const char*>(memchr(data + scan, '\n', size_t(size - scan)))) {
        scan = lf - data + 1;
        if (scan >= size)
            return false;
        if (data[scan] == '.')
            return true;
    }
    return false;
}

void TagSocket::dotStuff(const char* data, qint64 size, bool* lineStart, QByteArray* out)
{
    if (size <= 0)
        return;
    qint64 from = 0;
    if (*lineStart && data[0] == '.')
        *out += '.';
    qint64 scan = 0;
    while (const auto* lf = static_cast<const char*>(memchr(data + scan, '\n', size_t(size - scan)))) {
        const qint64 next = lf - data + 1;
        if (next < size && data[next] == '.') {
            out->append(data + from, next - from);
            *out += '.';
            from = next;
        }
        scan = next;
        if (scan >= size)
            break;
    }
    out->append(data + from, size - from);
    *lineStart = data[size - 1] == '\n';
}

void TagSocket::Close()
{
    if (!m_stream->isOpen()) {
        m_connected = false;
        return;
    }
    emit OnClosing();
    closeHandle();
    emit OnClosed();
    if (RAS && RAS->dialed())
        RAS->hangUp();
}

void TagSocket::closeHandle()
{
    m_stream->close();
    m_handshaking = false;
    m_connected = false;
}

void TagSocket::Cancel()
{
    m_canceled = true;
    emit OnCancel();
    if (m_lookupId >= 0) {
        HostLookup::abort(m_lookupId);
        m_lookupId = -1;
    }
    Close();
}
