#include "net/SmtpReplyReader.h"
#include "net/TagSocket.h"

#include <QByteArrayList>
#include <QList>

#include <gtest/gtest.h>

namespace {

struct Reply
{
    int code;
    QByteArray text;
    QByteArrayList lines;
};

// Reads every reply of input, fed in pieces cut at the given points.
QList<Reply> readAll(const QByteArray& input, const QList<qsizetype>& cuts)
{
    SmtpReplyReader reader;
    QList<Reply> replies;
    Reply current;
    auto takeLine = [&] {
        current.lines << reader.takeLine();
        if (reader.replyDone()) {
            current.code = reader.replyCode();
            current.text = reader.replyText();
            replies << current;
            current = Reply();
            reader.startReply();
        }
    };
    qsizetype from = 0;
    QList<qsizetype> ends = cuts;
    ends << input.size();
    for (qsizetype end : ends) {
        QByteArray piece = input.mid(from, end - from);
        from = end;
        while (!piece.isEmpty()) {
            piece.remove(0, reader.putLine(piece.constData(), piece.size()));
            if (reader.lineReady())
                takeLine();
        }
    }
    return replies;
}

} // namespace

TEST(SmtpReplyReader, RepliesAtEverySplit)
{
    const QByteArray longLine = "250 " + QByteArray(400, 'x');
    const QByteArray input = "220-first\r\n220-second\r\n220 last\r\n"
                             "250 ok\n"
                             "501 no\r\r\n"
                             "250-a\r\n354-odd\r\n250 done\r\n"
                             "abc\r\n"
                             "250-x\r\n250\r\n"
        + longLine + "\r\n" + "221 bye\r\n";
    const QList<Reply> expected{
        {220, "220 last", {"220-first", "220-second", "220 last"}},
        {250, "250 ok", {"250 ok"}},
        {501, "501 no", {"501 no"}},
        {250, "250 done", {"250-a", "354-odd", "250 done"}},
        {-1, "abc", {"abc"}},
        {250, "250", {"250-x", "250"}},
        // An over-long line keeps its first 255 bytes; the rest up to its LF is dropped.
        {250, longLine.left(255), {longLine.left(255)}},
        {221, "221 bye", {"221 bye"}},
    };
    auto check = [&](const QList<Reply>& got, const std::string& where) {
        ASSERT_EQ(got.size(), expected.size()) << where;
        for (int i = 0; i < got.size(); ++i) {
            EXPECT_EQ(got[i].code, expected[i].code) << where << " reply " << i;
            EXPECT_EQ(got[i].text, expected[i].text) << where << " reply " << i;
            EXPECT_EQ(got[i].lines, expected[i].lines) << where << " reply " << i;
        }
    };
    check(readAll(input, {}), "whole");
    for (qsizetype a = 1; a < input.size(); ++a)
        check(readAll(input, {a}), "cut at " + std::to_string(a));
    QList<qsizetype> everyByte;
    for (qsizetype a = 1; a < input.size(); ++a)
        everyByte << a;
    check(readAll(input, everyByte), "byte by byte");
}

TEST(SmtpReplyReader, UnterminatedLineCountsWhenThePeerCloses)
{
    SmtpReplyReader reader;
    const QByteArray bytes = "421 closing";
    EXPECT_EQ(reader.putLine(bytes.constData(), bytes.size()), bytes.size());
    EXPECT_FALSE(reader.lineReady());
    reader.finishLine();
    EXPECT_EQ(reader.takeLine(), QByteArray("421 closing"));
    EXPECT_EQ(reader.replyCode(), 421);
    EXPECT_EQ(SmtpReplyReader::lineCode("2x0 no"), -1);
    EXPECT_EQ(SmtpReplyReader::lineCode("25"), -1);
}

// The data phase's dot-stuffing gives the same bytes however the stream is cut into chunks, and a
// chunk is sent as it is exactly when stuffing would leave it so.
TEST(DotStuffing, SameBytesAtEverySplit)
{
    const QByteArray text = ".a\r\n.\r\nb.\r\n..c\r\n\r\n.\r\nend.\r\n.";
    const QByteArray stuffed = "..a\r\n..\r\nb.\r\n...c\r\n\r\n..\r\nend.\r\n..";
    for (qsizetype a = 0; a <= text.size(); ++a) {
        for (qsizetype b = a; b <= text.size(); ++b) {
            QByteArray out;
            bool lineStart = true;
            const qsizetype cuts[] = {0, a, b, text.size()};
            for (int i = 0; i < 3; ++i) {
                const char* piece = text.constData() + cuts[i];
                const qsizetype size = cuts[i + 1] - cuts[i];
                const bool needed = TagSocket::needsDotStuffing(piece, size, lineStart);
                const qsizetype before = out.size();
                TagSocket::dotStuff(piece, size, &lineStart, &out);
                ASSERT_EQ(needed, out.size() - before > size) << a << " " << b << " piece " << i;
            }
            ASSERT_EQ(out, stuffed) << a << " " << b;
        }
    }
}
