#include "core/Errors.h"
#include "net/MailEncodings.h"
#include "net/TQuotedPrintable.h"

#include <gtest/gtest.h>

namespace {

QByteArray pattern(int size)
{
    QByteArray data(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i)
        data[i] = char((i * 131 + 7) & 0xFF);
    return data;
}

int uuValue(char ch)
{
    return ch == '`' ? 0 : (ch - 32) & 0x3F;
}

QByteArray uuDecode(const QList<QByteArray>& lines)
{
    QByteArray out;
    for (const QByteArray& line : lines) {
        const int length = uuValue(line[0]);
        QByteArray bytes;
        for (qsizetype i = 1; i + 4 <= line.size(); i += 4) {
            const int a = uuValue(line[i]), b = uuValue(line[i + 1]), c = uuValue(line[i + 2]),
                      d = uuValue(line[i + 3]);
            bytes += char((a << 2) | (b >> 4));
            bytes += char((b << 4) | (c >> 2));
            bytes += char((c << 6) | d);
        }
        out += bytes.left(length);
    }
    return out;
}

// Undoes soft breaks and "=XX".
QByteArray qpDecode(const QList<QByteArray>& lines)
{
    QByteArray out;
    for (QByteArray line : lines) {
        // An escape never ends in "=", so a trailing one is a soft break.
        const bool soft = line.endsWith('=');
        if (soft)
            line.chop(1);
        for (qsizetype i = 0; i < line.size(); ++i) {
            if (line[i] == '=') {
                out += char(QByteArray::fromHex(line.mid(i + 1, 2))[0]);
                i += 2;
            } else {
                out += line[i];
            }
        }
        if (!soft)
            out += '\n';
    }
    return out;
}

} // namespace

// Every size around the block lengths: lines of 76 characters, a multiple (and nothing) ends in
// one empty line, and the lines decode to the input.
TEST(MailEncodings, Base64AndUUBlocksAtEverySize)
{
    for (int size = 0; size <= 3 * 57 + 2; ++size) {
        const QByteArray data = pattern(size);
        const QList<QByteArray> lines = MailEncodings::base64Lines(data);
        ASSERT_EQ(lines.size(), size / 57 + 1) << size;
        EXPECT_EQ(lines.last().isEmpty(), size % 57 == 0) << size;
        QByteArray joined;
        for (int i = 0; i < lines.size(); ++i) {
            if (i + 1 < lines.size()) {
                EXPECT_EQ(lines[i].size(), 76) << size;
            }
            joined += lines[i];
        }
        EXPECT_EQ(QByteArray::fromBase64(joined), data) << size;

        const QList<QByteArray> uu = MailEncodings::uuLines(data);
        ASSERT_EQ(uu.size(), size / 45 + 1) << size;
        EXPECT_EQ(uu.last() == "`", size % 45 == 0) << size;
        EXPECT_EQ(uu[0].size(), 1 + ((std::min(size, 45) + 2) / 3) * 4) << size;
        EXPECT_EQ(uuDecode(uu), data) << size;
    }
    EXPECT_EQ(MailEncodings::uuLine("Cat"), QByteArray("#0V%T"));
}

TEST(QuotedPrintable, PiecesAndEscapes)
{
    struct Case
    {
        QByteArray in;
        QList<QByteArray> out;
    };
    const QByteArray x65(65, 'x');
    const QList<Case> cases{
        {"", {}},
        {"a=b\tc\x80\xff", {"a=3Db=09c=80=FF"}},
        {x65, {x65}},
        {x65 + "y", {x65 + "=", "y"}},
        // Cut before the last space of the next 66 characters; the space starts the next piece.
        {QByteArray(40, 'a') + " " + QByteArray(40, 'b'), {QByteArray(40, 'a') + "=", " " + QByteArray(40, 'b')}},
        {QByteArray(65, 'a') + " b", {QByteArray(65, 'a') + "=", " b"}},
        // A line end is CR or LF, optionally with one more consumed: "\n\n" is one end.
        {"a\r\nb\n\nc\r\rd", {"a", "b", "c", "d"}},
        {"a\r\n\r\nb", {"a", "", "b"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TQuotedPrintable::encode(c.in), c.out) << c.in.toStdString();
    EXPECT_EQ(TQuotedPrintable::encodeParagraph(QByteArray()), QList<QByteArray>{QByteArray()});
}

// Long paragraphs of words and blanks decode back whole; no piece is longer than 65 source
// characters.
TEST(QuotedPrintable, LongParagraphsRoundTrip)
{
    for (int size = 60; size <= 400; size += 7) {
        QByteArray text;
        for (int i = 0; text.size() < size; ++i)
            text += QByteArray(1 + (i * 7) % 13, char('a' + i % 26)) + (i % 5 ? " " : "= ");
        text.truncate(size);
        const QList<QByteArray> lines = TQuotedPrintable::encodeParagraph(text);
        for (const QByteArray& line : lines) {
            QByteArray source = line;
            source.replace("=3D", "=");
            EXPECT_LE(source.size(), 66) << size;
        }
        EXPECT_EQ(qpDecode(lines), text + "\n") << size;
    }
    EXPECT_NO_THROW(TQuotedPrintable::encodeParagraph(QByteArray(TQuotedPrintable::MaxParagraph, 'a')));
    try {
        TQuotedPrintable::encode(QByteArray(TQuotedPrintable::MaxParagraph + 1, 'a'));
        FAIL();
    } catch (const QuilletError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("Paragraph is too large"));
    }
}
