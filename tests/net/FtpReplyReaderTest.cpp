#include "PairPort.h"

#include "net/FtpReplyReader.h"
#include "net/TFTP.h"

#include <QtEndian>

#include <gtest/gtest.h>

namespace {

using Verdict = FtpReplyReader::Verdict;

struct Outcome
{
    Verdict verdict;
    QByteArray line;
    bool operator==(const Outcome&) const = default;
};

// Server bytes through a real port (one receive per chunk between the cuts) and the reader, as
// the client does: pieces of an over-long line joined and kept to the reply buffer's size.
Outcome readReply(const QByteArray& stream, const std::vector<qsizetype>& cuts, bool abortCommand)
{
    FtpReplyReader reader(abortCommand);
    QByteArray line;
    RecordingPort port;
    port.setEol("\r\n", LineFIFO::Mode::AnyChar);
    port.onData = [&](const QByteArray& data, bool delimited) {
        line += data.left(CIPPortMsg::ReplyBufferSize - line.size());
        if (delimited)
            reader.put(std::exchange(line, QByteArray()));
    };
    qsizetype from = 0;
    for (qsizetype cut : cuts) {
        port.feed(stream.mid(from, cut - from));
        from = cut;
    }
    port.feed(stream.mid(from));
    return {reader.verdict(), reader.lastLine()};
}

struct ReplyCase
{
    const char* name;
    QByteArray stream;
    bool abortCommand;
    Outcome expected;
};

const QByteArray LongLine = "500 " + QByteArray(3000, 'x') + "\r\n";

const ReplyCase Cases[] = {
    {"multi-line greeting", "220-Welcome\r\n220-second\r\n220 Ready\r\n", false, {Verdict::Success, "220 Ready"}},
    {"free text inside a multi-line reply", "220-Welcome\r\nfree text\r\n\r\n220 Ready\r\n", false,
        {Verdict::Success, "220 Ready"}},
    {"another code does not close a multi-line reply", "220-a\r\n221 b\r\n220 end\r\n", false,
        {Verdict::Success, "220 end"}},
    {"blank-led continuation lines", " more\r\n\tand more\r\n250 ok\r", false, {Verdict::Success, "250 ok"}},
    {"preliminary then final", "150 Opening\r\n226 Done\r\n", false, {Verdict::Success, "226 Done"}},
    {"3xx succeeds, LF alone ends a line", "331 Password required\n", false,
        {Verdict::Success, "331 Password required"}},
    {"refusal", "530 Login incorrect.\r\n", false, {Verdict::Failure, "530 Login incorrect."}},
    {"426 answering ABOR waits for the ABOR reply", "426 aborted\r\n226 ABOR ok\r\n", true,
        {Verdict::Success, "226 ABOR ok"}},
    {"426 to anything else fails", "426 aborted\r\n226 ABOR ok\r\n", false, {Verdict::Failure, "426 aborted"}},
    {"no code", "hello\r\n220 x\r\n", false, {Verdict::Failure, "hello"}},
    {"over-long line kept to the buffer", LongLine, false, {Verdict::Failure, LongLine.left(1024)}},
    {"unfinished multi-line reply", "220-a\r\n220-b\r\n", false, {Verdict::More, "220-b"}},
    {"lines after the reply are not its own", "200 ok\r\n500 later\r\n", false, {Verdict::Success, "200 ok"}},
};

TEST(FtpReplyReader, EveryCutGivesTheSameVerdict)
{
    for (const ReplyCase& c : Cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(readReply(c.stream, {}, c.abortCommand), c.expected);
        const qsizetype size = c.stream.size();
        // Every single cut; every pair of cuts for the short ones.
        for (qsizetype i = 1; i < size; ++i) {
            ASSERT_EQ(readReply(c.stream, {i}, c.abortCommand), c.expected) << "cut at " << i;
            if (size > 64)
                continue;
            for (qsizetype j = i + 1; j < size; ++j)
                ASSERT_EQ(readReply(c.stream, {i, j}, c.abortCommand), c.expected) << "cuts at " << i << ", " << j;
        }
    }
}

TEST(FtpReplyReader, PortArgumentAndPwdPath)
{
    // 192.168.1.5 in network byte order, port 4001.
    const quint32 address = qToBigEndian(quint32(0xC0A80105));
    EXPECT_EQ(TFTP::portArgument(address, 4001), QByteArray("192,168,1,5,15,161"));
    EXPECT_EQ(
        TFTP::pathFromPwdReply("257 \"/pub/incoming\" is the current directory"), QStringLiteral("/pub/incoming"));
    EXPECT_EQ(TFTP::pathFromPwdReply("257 \"\""), QString());
    EXPECT_EQ(TFTP::pathFromPwdReply("257"), QString());
}

} // namespace
