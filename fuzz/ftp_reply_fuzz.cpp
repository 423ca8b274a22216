// Feeds arbitrary server bytes, cut at arbitrary points, through an FTP control port's line
// delivery (a real socket pair, one receive per piece) and the reply reader, reading one reply
// after the other as the client does. Besides the sanitizers' findings it checks the limits (no
// reply line over the reply buffer) and that the verdicts do not depend on where the bytes were
// cut.
//
// Input layout: byte 0 says whether the first command is an ABOR, bytes 1..8 give up to 8 cut
// lengths (0 = no cut), the rest is the byte stream.

#include "net/CIPPortMsg.h"
#include "net/FtpReplyReader.h"

#include <QCoreApplication>

#include <cstdlib>
#include <vector>

#include <sys/socket.h>
#include <unistd.h>

namespace {

[[noreturn]] void fail(const char* what)
{
    fprintf(stderr, "ftp_reply_fuzz: %s\n", what);
    abort();
}

// Reply lines as the client builds them: parts of an over-long line joined, kept to the buffer.
class ReplyPort : public CIPPortMsg
{
public:
    explicit ReplyPort(bool abortFirst)
        : m_reader(abortFirst)
    {
        setStopAfterOneLine(false);
        setEol("\r\n", DelimiterMode::AnyChar);
        int fds[2];
        if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, fds) != 0)
            fail("socketpair");
        adoptSocket(fds[0]);
        m_peer = fds[1];
    }
    ~ReplyPort() override
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
        deliverData();
    }
    void finish()
    {
        close(m_peer);
        m_peer = -1;
        deliverData();
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
    int m_peer = -1;
    QByteArray m_line;
    FtpReplyReader m_reader;
};

QByteArrayList readReplies(const std::vector<QByteArray>& chunks, bool abortFirst)
{
    ReplyPort port(abortFirst);
    for (const QByteArray& chunk : chunks)
        port.feed(chunk);
    port.finish();
    if (port.hasSocket())
        fail("connection not closed");
    return port.outcomes;
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
    const bool abortFirst = data[0] & 1;
    std::vector<int> lengths;
    for (size_t i = 1; i < 9; ++i) {
        if (data[i] != 0)
            lengths.push_back(data[i] * (data[0] & 0x80 ? 64 : 1));
    }
    const QByteArray stream(reinterpret_cast<const char*>(data + 9), qsizetype(size - 9));
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

    if (readReplies(chunks, abortFirst) != readReplies({stream}, abortFirst))
        fail("replies depend on where the stream was cut");
    return 0;
}
