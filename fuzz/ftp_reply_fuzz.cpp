// Feeds arbitrary server bytes, cut at arbitrary points, through an FTP control port's line
// delivery (a real socket pair, one receive per piece) and the reply reader, reading one reply
// after the other as the client does. Besides the sanitizers' findings it checks the limits (no
// reply line over the reply buffer) and that the verdicts do not depend on where the bytes were
// cut.
//
// Input layout: byte 0 says whether the first command is an ABOR, bytes 1..8 give up to 8 cut
// lengths (0 = no cut), the rest is the byte stream.

#include "FuzzSupport.h"
#include "net/CIPPortMsg.h"
#include "net/FtpReplyReader.h"

namespace {

// Reply lines as the client builds them: parts of an over-long line joined, kept to the buffer.
class ReplyPort : public CIPPortMsg
{
public:
    explicit ReplyPort(bool abortFirst)
        : m_reader(abortFirst)
    {
        setStopAfterOneLine(false);
        setEol("\r\n", DelimiterMode::AnyChar);
    }

    QByteArrayList outcomes;

protected:
    void onDataIn(const QByteArray& data, bool delimited) override
    {
        if (data.size() > ReceiveBufferSize)
            fail("piece larger than the receive buffer");
        m_line += data.left(ReplyBufferSize - m_line.size());
        if (m_line.size() > ReplyBufferSize)
            fail("reply line over the buffer");
        if (!delimited)
            return;
        const FtpReplyReader::Verdict verdict = m_reader.put(std::exchange(m_line, QByteArray()));
        if (verdict == FtpReplyReader::Verdict::More)
            return;
        if (m_reader.lastLine().size() > ReplyBufferSize)
            fail("last line over the buffer");
        outcomes << QByteArray(verdict == FtpReplyReader::Verdict::Success ? "S" : "F") + m_reader.lastLine();
        m_reader = FtpReplyReader(false);
    }

private:
    QByteArray m_line;
    FtpReplyReader m_reader;
};

QByteArrayList readReplies(const std::vector<QByteArray>& chunks, bool abortFirst)
{
    SocketPairPort<ReplyPort> port(abortFirst);
    for (const QByteArray& chunk : chunks)
        port.feed(chunk);
    port.closePeer();
    if (port.hasSocket())
        fail("connection not closed");
    return port.outcomes;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::optional<CutInput> input = cutInput(data, size);
    if (!input)
        return 0;
    const bool abortFirst = input->switches & 1;
    if (readReplies(input->chunks, abortFirst) != readReplies({input->stream}, abortFirst))
        fail("replies depend on where the stream was cut");
    return 0;
}
