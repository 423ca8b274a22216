#include "PairPort.h"

#include "net/LineFIFO.h"

#include <gtest/gtest.h>

namespace {

using Piece = RecordingPort::Piece;
using Pieces = std::vector<Piece>;
using Mode = LineFIFO::Mode;

Piece line(const char* text)
{
    return {QByteArray(text), true};
}

Piece rest(const QByteArray& text)
{
    return {text, false};
}

// Delivers stream through a port, one receive per chunk between the cuts, then the end of the
// stream; returns every piece handed over.
Pieces deliver(const QByteArray& stream, const std::vector<qsizetype>& cuts, const QByteArray& eol, Mode mode)
{
    RecordingPort port;
    port.setEol(eol, mode);
    qsizetype from = 0;
    for (qsizetype cut : cuts) {
        port.feed(stream.mid(from, cut - from));
        from = cut;
    }
    port.feed(stream.mid(from));
    port.closePeer();
    EXPECT_EQ(port.disconnects.size(), 1u);
    return port.pieces;
}

std::string describe(const QByteArray& stream, const std::vector<qsizetype>& cuts)
{
    std::string text;
    qsizetype from = 0;
    for (qsizetype cut : cuts) {
        text += stream.mid(from, cut - from).toPercentEncoding().toStdString() + " | ";
        from = cut;
    }
    return text + stream.mid(from).toPercentEncoding().toStdString();
}

struct SplitCase
{
    const char* name;
    QByteArray stream;
    QByteArray eol;
    Mode mode;
    Pieces expected;
};

const QByteArray CRLF = "\r\n";

const SplitCase SplitCases[] = {
    {"lines", "abc\r\ndef\r\n", CRLF, Mode::AnyChar, {line("abc"), line("def")}},
    {"line then empty line", "abc\r\n\r\n", CRLF, Mode::AnyChar, {line("abc"), line("")}},
    {"empty line between", "abc\r\n\r\ndef\r\n", CRLF, Mode::AnyChar, {line("abc"), line(""), line("def")}},
    {"two lines, CR LF split", "one\r\ntwo\r\n", CRLF, Mode::AnyChar, {line("one"), line("two")}},
    {"lone CR and lone LF", "a\rb\nc\r\n", CRLF, Mode::AnyChar, {line("a"), line("b"), line("c")}},
    {"CR CR ends an empty line", "abc\r\rdef\n", CRLF, Mode::AnyChar, {line("abc"), line(""), line("def")}},
    {"LF CR LF", "abc\n\r\ndef", CRLF, Mode::AnyChar, {line("abc"), line(""), rest("def")}},
    {"unterminated rest at close", "abc\r\nxyz", CRLF, Mode::AnyChar, {line("abc"), rest("xyz")}},
    {"only delimiters", "\r\n\r\n\n", CRLF, Mode::AnyChar, {line(""), line(""), line("")}},
    {"exact: lone CR and LF stay in the line", "a\rb\nc\r\nd\r\n", CRLF, Mode::Exact, {line("a\rb\nc"), line("d")}},
    {"exact: empty line", "a\r\n\r\nb\r\n", CRLF, Mode::Exact, {line("a"), line(""), line("b")}},
    {"exact: three-byte delimiter", "ab<=>cd<=><=>", "<=>", Mode::Exact, {line("ab"), line("cd"), line("")}},
};

void PrintTo(const SplitCase& c, std::ostream* os)
{
    *os << c.name;
}

class SplitAtEveryCut : public ::testing::TestWithParam<SplitCase>
{
};

// Every way of cutting the stream into two or three receives yields the same lines.
TEST_P(SplitAtEveryCut, SameLinesHoweverCut)
{
    const SplitCase& c = GetParam();
    const qsizetype n = c.stream.size();
    for (qsizetype first = 0; first <= n; ++first) {
        for (qsizetype second = first; second <= n; ++second) {
            const std::vector<qsizetype> cuts{first, second};
            ASSERT_EQ(deliver(c.stream, cuts, c.eol, c.mode), c.expected) << describe(c.stream, cuts);
        }
    }
}

// Every byte its own receive.
TEST_P(SplitAtEveryCut, ByteByByte)
{
    const SplitCase& c = GetParam();
    std::vector<qsizetype> cuts;
    for (qsizetype i = 1; i < c.stream.size(); ++i)
        cuts.push_back(i);
    EXPECT_EQ(deliver(c.stream, cuts, c.eol, c.mode), c.expected);
}

INSTANTIATE_TEST_SUITE_P(LineSplit, SplitAtEveryCut, ::testing::ValuesIn(SplitCases), [](const auto& info) {
    std::string name;
    for (const char ch : std::string(info.param.name))
        name += std::isalnum(uchar(ch)) ? ch : '_';
    return name;
});

// A line longer than the buffer comes in buffer-sized pieces without the delimiter flag, the
// last part with it, however the bytes arrive.
TEST(LineSplit, OverlongLineComesInBufferSizedPieces)
{
    QByteArray longLine(5000, 'x');
    for (int i = 0; i < longLine.size(); ++i)
        longLine[i] = char('a' + i % 26);
    const QByteArray stream = longLine + "\r\nnext\r\n";
    const Pieces expected{
        rest(longLine.left(2048)), rest(longLine.mid(2048, 2048)), {longLine.mid(4096), true}, line("next")};
    for (qsizetype cut : {qsizetype(0), qsizetype(1), qsizetype(2047), qsizetype(2048), qsizetype(2049),
             qsizetype(4999), qsizetype(5000), qsizetype(5001), qsizetype(5002), stream.size()}) {
        EXPECT_EQ(deliver(stream, {cut}, CRLF, Mode::AnyChar), expected) << "cut at " << cut;
    }
}

// In the exact mode a full buffer ending in the delimiter's first byte keeps that byte, so a
// delimiter cut by the buffer's end still ends the line.
TEST(LineSplit, ExactDelimiterAcrossFullBuffer)
{
    const QByteArray head(2047, 'h');
    const QByteArray stream = head + "\r\ntail\r\n";
    const Pieces expected{rest(head), line(""), line("tail")};
    EXPECT_EQ(deliver(stream, {}, CRLF, Mode::Exact), expected);
}

// With an empty delimiter every receive is handed over as it came.
TEST(LineSplit, RawDataPassesUnchanged)
{
    const QByteArray stream = "a\r\nb\rc\n\r\n";
    const Pieces pieces = deliver(stream, {3, 5}, QByteArray(), Mode::AnyChar);
    const Pieces expected{rest("a\r\n"), rest("b\r"), rest("c\n\r\n")};
    EXPECT_EQ(pieces, expected);
}

// The delimiter may change inside a handler: what is still buffered is cut by the new rule,
// and the LF completing a CR that ended the last line before the change is not data.
TEST(LineSplit, SwitchToRawInsideHandler)
{
    const QByteArray stream = "head\r\n\r\nbody\r\nmore";
    for (qsizetype cut = 0; cut <= stream.size(); ++cut) {
        RecordingPort port;
        port.setEol(CRLF, Mode::AnyChar);
        port.onData = [&port](const QByteArray& data, bool delimited) {
            if (delimited && data.isEmpty())
                port.setEol(QByteArray(), Mode::AnyChar);
        };
        port.feed(stream.left(cut));
        port.feed(stream.mid(cut));
        port.closePeer();
        QByteArray body;
        for (const Piece& piece : port.pieces) {
            if (!piece.delimited)
                body += piece.data;
        }
        EXPECT_EQ(body, QByteArray("body\r\nmore")) << "cut at " << cut;
    }
}

// Accept data off: nothing more is handed over until it is switched on again, and what the
// connection still held is delivered at the close only when accepted.
TEST(LineSplit, AcceptDataSwitch)
{
    RecordingPort port;
    port.setEol(CRLF, Mode::AnyChar);
    port.onData = [&port](const QByteArray&, bool) { port.setAcceptData(false); };
    port.feed("one\r\ntwo\r\nthree\r\n");
    ASSERT_EQ(port.pieces, Pieces{line("one")});
    port.deliverData();
    EXPECT_EQ(port.pieces.size(), 1u);

    port.onData = nullptr;
    port.setAcceptData(true);
    port.deliverData();
    const Pieces expected{line("one"), line("two"), line("three")};
    EXPECT_EQ(port.pieces, expected);
}

// A close requested by a handler inside delivery waits until that handler returns, then the
// lines still buffered are delivered before the disconnect event.
TEST(LineSplit, CloseInsideDeliveryDeliversTheRest)
{
    RecordingPort port;
    port.setEol(CRLF, Mode::AnyChar);
    port.onData = [&port](const QByteArray& data, bool) {
        if (data == "one")
            port.disconnectSocket(0);
    };
    port.feed("one\r\ntwo\r\npartial");
    const Pieces expected{line("one"), line("two"), rest("partial")};
    EXPECT_EQ(port.pieces, expected);
    EXPECT_FALSE(port.hasSocket());
    EXPECT_EQ(port.disconnects, std::vector<int>{0});
}

} // namespace
