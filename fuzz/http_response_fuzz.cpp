// Feeds arbitrary bytes, cut at arbitrary points, through a port's delivery (a real socket pair,
// one receive per piece) and, in one of its modes, the HTTP response reader. Besides the
// sanitizers' findings it checks that the outcome does not depend on where the bytes were cut:
// the same lines, headers and body come out as when the whole input arrives in one receive.
//
// Input layout: byte 0 picks the mode, bytes 1..8 give up to 8 cut lengths (0 = no cut), the
// rest is the byte stream.

#include "net/CIPPortMsg.h"
#include "net/HttpPort.h"

#include <QCoreApplication>

#include <cstdlib>
#include <memory>
#include <vector>

#include <sys/socket.h>
#include <unistd.h>

namespace {

[[noreturn]] void fail(const char* what)
{
    fprintf(stderr, "http_response_fuzz: %s\n", what);
    abort();
}

// A port connected to a socket pair whose other end the harness writes.
template <typename Base>
class Paired : public Base
{
public:
    template <typename... Args>
    explicit Paired(Args&&... args)
        : Base(std::forward<Args>(args)...)
    {
        int fds[2];
        if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, fds) != 0)
            fail("socketpair");
        this->adoptSocket(fds[0]);
        m_peer = fds[1];
    }
    ~Paired() override
    {
        if (m_peer >= 0)
            close(m_peer);
    }
    void feed(const QByteArray& chunk)
    {
        qsizetype done = 0;
        while (done < chunk.size()) {
            const ssize_t n = write(m_peer, chunk.constData() + done, size_t(chunk.size() - done));
            if (n <= 0)
                fail("write");
            done += n;
        }
        this->deliverData();
    }
    void finish()
    {
        close(m_peer);
        m_peer = -1;
        this->deliverData();
    }

private:
    int m_peer = -1;
};

struct LinePort : CIPPortMsg
{
    LinePort() { setStopAfterOneLine(false); }
    QByteArrayList pieces;
    QByteArray raw;
    void onDataIn(const QByteArray& data, bool delimited) override
    {
        CIPPortMsg::onDataIn(data, delimited);
        if (data.size() > ReceiveBufferSize)
            fail("piece larger than the receive buffer");
        if (replyBuffer().size() > ReplyBufferSize)
            fail("reply buffer overrun");
        pieces << (delimited ? "L" : "P") + data;
        raw += data;
    }
};

struct Transcript : HttpPort::Listener
{
    QByteArrayList headers;
    QByteArray body;
    bool bodyStarted = false;
    int disconnects = 0;
    void portConnected(int) override { }
    void portDisconnected(int) override { ++disconnects; }
    void portError(int, const QString&) override { }
    void responseHeader(const QByteArray& name, const QByteArray& value) override
    {
        if (bodyStarted)
            fail("header after the body began");
        headers << name + ':' + value;
    }
    void responseBodyStarts() override
    {
        if (bodyStarted)
            fail("body began twice");
        bodyStarted = true;
    }
    void responseBody(qint64 count, const QByteArray& piece) override
    {
        if (!bodyStarted)
            fail("body before it began");
        body += piece;
        if (count != body.size())
            fail("body count");
    }
};

std::vector<QByteArray> cut(const QByteArray& stream, const std::vector<int>& lengths)
{
    std::vector<QByteArray> chunks;
    qsizetype from = 0;
    for (int length : lengths) {
        if (from >= stream.size())
            break;
        chunks.push_back(stream.mid(from, length));
        from += length;
    }
    if (from < stream.size())
        chunks.push_back(stream.mid(from));
    return chunks;
}

struct HttpOutcome
{
    QByteArrayList headers;
    QByteArray body;
    QByteArray statusLine;
    bool bodyStarted;
    bool operator==(const HttpOutcome&) const = default;
};

HttpOutcome readHttp(const std::vector<QByteArray>& chunks)
{
    Transcript transcript;
    Paired<HttpPort> port(&transcript);
    port.startResponse();
    for (const QByteArray& chunk : chunks)
        port.feed(chunk);
    port.finish();
    if (transcript.disconnects != 1 || port.hasSocket())
        fail("connection not closed exactly once");
    if (port.reader().statusLine().size() > HttpResponseReader::MaxStatusLine)
        fail("status line longer than its limit");
    return {transcript.headers, transcript.body, port.reader().statusLine(), transcript.bodyStarted};
}

struct LineOutcome
{
    QByteArrayList pieces;
    QByteArray raw;
};

LineOutcome readLines(const std::vector<QByteArray>& chunks, const QByteArray& eol, CIPPort::DelimiterMode mode)
{
    Paired<LinePort> port;
    port.setEol(eol, mode);
    for (const QByteArray& chunk : chunks)
        port.feed(chunk);
    port.finish();
    if (port.hasSocket())
        fail("connection not closed");
    return {port.pieces, port.raw};
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    static QCoreApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 9)
        return 0;
    const int mode = data[0] % 4;
    std::vector<int> lengths;
    for (size_t i = 1; i < 9; ++i) {
        if (data[i] != 0)
            lengths.push_back(data[i] * (data[0] & 0x80 ? 64 : 1));
    }
    const QByteArray stream(reinterpret_cast<const char*>(data + 9), qsizetype(size - 9));
    const std::vector<QByteArray> chunks = cut(stream, lengths);

    if (mode == 0) {
        if (!(readHttp(chunks) == readHttp({stream})))
            fail("HTTP response depends on where it was cut");
        return 0;
    }
    static const QByteArray eols[] = {"\r\n", "\n", "\r\n.\r\n"};
    const QByteArray eol = mode == 3 ? QByteArray() : eols[(data[0] >> 2) % 3];
    const auto delimiterMode = (data[0] & 0x40) ? CIPPort::DelimiterMode::Exact : CIPPort::DelimiterMode::AnyChar;
    const LineOutcome cutUp = readLines(chunks, eol, delimiterMode);
    const LineOutcome whole = readLines({stream}, eol, delimiterMode);
    if (eol.isEmpty()) {
        if (cutUp.raw != stream || whole.raw != stream)
            fail("raw data changed");
    } else if (cutUp.pieces != whole.pieces) {
        fail("lines depend on where the stream was cut");
    }
    return 0;
}
