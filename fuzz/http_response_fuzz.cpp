// Feeds arbitrary bytes, cut at arbitrary points, through a port's delivery (a real socket pair,
// one receive per piece) and, in one of its modes, the HTTP response reader. Besides the
// sanitizers' findings it checks that the outcome does not depend on where the bytes were cut:
// the same lines, headers and body come out as when the whole input arrives in one receive.
//
// Input layout: byte 0 picks the mode, bytes 1..8 give up to 8 cut lengths (0 = no cut), the
// rest is the byte stream.

#include "FuzzSupport.h"
#include "net/CIPPortMsg.h"
#include "net/HttpPort.h"

namespace {

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
    SocketPairPort<HttpPort> port(&transcript);
    port.startResponse();
    for (const QByteArray& chunk : chunks)
        port.feed(chunk);
    port.closePeer();
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
    SocketPairPort<LinePort> port;
    port.setEol(eol, mode);
    for (const QByteArray& chunk : chunks)
        port.feed(chunk);
    port.closePeer();
    if (port.hasSocket())
        fail("connection not closed");
    return {port.pieces, port.raw};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::optional<CutInput> input = cutInput(data, size);
    if (!input)
        return 0;
    const int mode = input->switches % 4;
    const QByteArray& stream = input->stream;
    const std::vector<QByteArray>& chunks = input->chunks;

    if (mode == 0) {
        if (!(readHttp(chunks) == readHttp({stream})))
            fail("HTTP response depends on where it was cut");
        return 0;
    }
    static const QByteArray eols[] = {"\r\n", "\n", "\r\n.\r\n"};
    const QByteArray eol = mode == 3 ? QByteArray() : eols[(input->switches >> 2) % 3];
    const auto delimiterMode
        = (input->switches & 0x40) ? CIPPort::DelimiterMode::Exact : CIPPort::DelimiterMode::AnyChar;
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
