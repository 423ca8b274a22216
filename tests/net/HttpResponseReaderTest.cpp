#include "PairPort.h"

#include "net/HttpResponseReader.h"

#include <gtest/gtest.h>

namespace {

// Everything an HTTP port reports, as one comparable transcript.
class Transcript : public HttpPort::Listener
{
public:
    QByteArrayList events;
    QByteArray body;
    qint64 lastCount = 0;

    void portConnected(int error) override { events << "connected " + QByteArray::number(error); }
    void portDisconnected(int error) override { events << "disconnected " + QByteArray::number(error); }
    void portError(int code, const QString& text) override
    {
        events << "error " + QByteArray::number(code) + ' ' + text.toUtf8();
    }
    void responseHeader(const QByteArray& name, const QByteArray& value) override
    {
        events << "header [" + name + "] [" + value + ']';
    }
    void responseBodyStarts() override { events << "body"; }
    void responseBody(qint64 count, const QByteArray& piece) override
    {
        EXPECT_EQ(count, lastCount + piece.size());
        lastCount = count;
        body += piece;
    }
};

using HttpPairPort = SocketPairPort<HttpPort>;

struct Outcome
{
    QByteArrayList events;
    QByteArray body;
    QByteArray statusLine;
    bool operator==(const Outcome&) const = default;
};

void PrintTo(const Outcome& o, std::ostream* os)
{
    *os << "status [" << o.statusLine.toStdString() << "] events [" << o.events.join(" / ").toStdString() << "] body ["
        << o.body.toPercentEncoding().toStdString() << "]";
}

Outcome read(const QByteArray& response, const std::vector<qsizetype>& cuts)
{
    Transcript transcript;
    HttpPairPort port(&transcript);
    port.startResponse();
    qsizetype from = 0;
    for (qsizetype cut : cuts) {
        port.feed(response.mid(from, cut - from));
        from = cut;
    }
    port.feed(response.mid(from));
    port.closePeer();
    return {transcript.events, transcript.body, port.reader().statusLine()};
}

struct ResponseCase
{
    const char* name;
    QByteArray response;
    Outcome expected;
};

const ResponseCase ResponseCases[] = {
    {"plain", "HTTP/1.0 200 OK\r\nContent-Type: text/html\r\nServer: x\r\n\r\n<b>hi</b>\r\n",
        {{"header [Content-Type] [text/html]", "header [Server] [x]", "body", "disconnected 0"}, "<b>hi</b>\r\n",
            "HTTP/1.0 200 OK"}},
    {"bare line feeds", "HTTP/1.0 302 Found\nLocation: /x\n\nmoved\n",
        {{"header [Location] [/x]", "body", "disconnected 0"}, "moved\n", "HTTP/1.0 302 Found"}},
    {"body starting with line ends", "HTTP/1.0 200 OK\r\n\r\n\r\n\r\nz",
        {{"body", "disconnected 0"}, "\r\n\r\nz", "HTTP/1.0 200 OK"}},
    {"continuation and odd headers", "HTTP/1.0 200 OK\r\nA:1\r\n\tcont\r\nNoColon\r\nB:  two\r\n\r\n",
        {{"header [A] [1]", "header [] [cont]", "header [NoColon] []", "header [B] [ two]", "body", "disconnected 0"},
            "", "HTTP/1.0 200 OK"}},
    {"no empty line", "HTTP/1.0 200 OK\r\nA: 1\r\n", {{"header [A] [1]", "disconnected 0"}, "", "HTTP/1.0 200 OK"}},
    {"status line only, unterminated", "HTTP/1.0 404 Not Found", {{"disconnected 0"}, "", "HTTP/1.0 404 Not Found"}},
    {"nothing", "", {{"disconnected 0"}, "", ""}},
};

void PrintTo(const ResponseCase& c, std::ostream* os)
{
    *os << c.name;
}

class ReadAtEveryCut : public ::testing::TestWithParam<ResponseCase>
{
};

// The reader finds the same headers, body and status line however the response is cut.
TEST_P(ReadAtEveryCut, SameResponseHoweverCut)
{
    const ResponseCase& c = GetParam();
    const qsizetype n = c.response.size();
    for (qsizetype first = 0; first <= n; ++first) {
        for (qsizetype second = first; second <= n; ++second)
            ASSERT_EQ(read(c.response, {first, second}), c.expected) << "cuts " << first << ", " << second;
    }
}

INSTANTIATE_TEST_SUITE_P(HttpResponseReader, ReadAtEveryCut, ::testing::ValuesIn(ResponseCases), [](const auto& info) {
    std::string name;
    for (const char ch : std::string(info.param.name))
        name += std::isalnum(uchar(ch)) ? ch : '_';
    return name;
});

// A header line longer than the receive buffer is one header, not several.
TEST(HttpResponseReader, OverlongHeaderIsOneHeader)
{
    const QByteArray value(5000, 'v');
    const QByteArray response = "HTTP/1.0 200 OK\r\nCookie: " + value + "\r\n\r\nbody";
    for (qsizetype cut : {qsizetype(0), qsizetype(100), qsizetype(2048), qsizetype(3000), response.size() - 5}) {
        const Outcome o = read(response, {cut});
        EXPECT_EQ(o.events, (QByteArrayList{"header [Cookie] [" + value + "]", "body", "disconnected 0"}));
        EXPECT_EQ(o.body, QByteArray("body"));
    }
}

// The stored status line is cut at 1024 bytes; a line beyond MaxLineLength is cut, not grown.
TEST(HttpResponseReader, LimitsAreKept)
{
    HttpResponseReader reader;
    reader.put("HTTP/1.0 200 " + QByteArray(3000, 'x'), true);
    EXPECT_EQ(reader.statusLine().size(), HttpResponseReader::MaxStatusLine);

    struct Count : HttpResponseReader::Listener
    {
        qsizetype longest = 0;
        void responseHeader(const QByteArray& name, const QByteArray& value) override
        {
            longest = std::max(longest, name.size() + value.size());
        }
        void responseBody(qint64, const QByteArray&) override { }
    } count;
    reader.setListener(&count);
    for (int i = 0; i < 100; ++i)
        reader.put(QByteArray(2048, 'h'), false);
    reader.put("X: y", true);
    EXPECT_LE(count.longest, HttpResponseReader::MaxLineLength);
}

using State = HttpResponseReader::State;
using Failure = HttpResponseReader::Failure;

// Each piece says what it took and where the response stands; the empty line says the body begins.
TEST(HttpResponseReader, ReportsWhatItTookAndWhereItStands)
{
    HttpResponseReader reader;
    const auto put = [&](const QByteArray& piece, bool delimited) {
        const HttpResponseReader::Result r = reader.put(piece, delimited);
        return QByteArray::number(int(r.state)) + '/' + QByteArray::number(r.consumed) + (r.bodyBegins ? "/body" : "");
    };
    EXPECT_EQ(put("HTTP/1.0 200 OK", true), "0/15");
    EXPECT_EQ(put("A: ", false), "0/3");
    EXPECT_EQ(put("1", true), "0/1");
    EXPECT_EQ(put("", true), "0/0/body");
    EXPECT_EQ(put("\r\nraw", false), "0/5");
    EXPECT_EQ(reader.finish().state, State::Done);
    EXPECT_EQ(put("late", true), "1/0");
    EXPECT_EQ(reader.bodyCount(), 5);
    EXPECT_EQ(reader.failureText(), QString());
}

struct LimitCase
{
    const char* name;
    std::vector<std::pair<QByteArray, bool>> pieces; // after the status line
    Failure failure;
    int headers; // headers seen before the reader stopped
};

std::vector<std::pair<QByteArray, bool>> headerLines(int n)
{
    std::vector<std::pair<QByteArray, bool>> lines;
    for (int i = 0; i < n; ++i)
        lines.emplace_back("H" + QByteArray::number(i) + ": v", true);
    return lines;
}

// A header line over its limit, however it arrives, or one header too many fails the response;
// nothing is read after that. Right at the limits everything is read.
TEST(HttpResponseReader, LimitsFailTheResponse)
{
    const QByteArray longest(HttpResponseReader::MaxLineLength, 'x');
    const LimitCase cases[] = {
        {"as many headers as allowed", headerLines(HttpResponseReader::MaxHeaders), Failure::None,
            HttpResponseReader::MaxHeaders},
        {"one header too many", headerLines(HttpResponseReader::MaxHeaders + 1), Failure::TooManyHeaders,
            HttpResponseReader::MaxHeaders},
        {"longest line", {{longest, true}}, Failure::None, 1},
        {"line too long at once", {{longest + 'x', true}}, Failure::LineTooLong, 0},
        {"line too long in parts", {{longest.left(40000), false}, {longest.left(30000), false}, {"y", true}},
            Failure::LineTooLong, 0},
        {"line too long at its end", {{longest, false}, {"y", true}}, Failure::LineTooLong, 0},
    };
    for (const LimitCase& c : cases) {
        struct Count : HttpResponseReader::Listener
        {
            int headers = 0;
            void responseHeader(const QByteArray&, const QByteArray&) override { ++headers; }
            void responseBody(qint64, const QByteArray&) override { }
        } count;
        HttpResponseReader reader(&count);
        reader.put("HTTP/1.0 200 OK", true);
        for (const auto& [piece, delimited] : c.pieces)
            reader.put(piece, delimited);
        const HttpResponseReader::Result after = reader.put("", true);
        EXPECT_EQ(reader.failure(), c.failure) << c.name;
        EXPECT_EQ(count.headers, c.headers) << c.name;
        EXPECT_EQ(after.bodyBegins, c.failure == Failure::None) << c.name;
        EXPECT_EQ(after.state, c.failure == Failure::None ? State::NeedMore : State::Failed) << c.name;
        EXPECT_EQ(reader.finish().state, c.failure == Failure::None ? State::Done : State::Failed) << c.name;
        EXPECT_EQ(reader.failureText().isEmpty(), c.failure == Failure::None) << c.name;
    }
}

// The port drops a connection whose response the reader refuses, wherever the bytes were cut.
TEST(HttpResponseReader, PortDropsARefusedResponse)
{
    QByteArray response = "HTTP/1.0 200 OK\r\n";
    for (int i = 0; i <= HttpResponseReader::MaxHeaders; ++i)
        response += "H: " + QByteArray::number(i) + "\r\n";
    response += "\r\nbody";
    for (qsizetype cut : {qsizetype(0), qsizetype(17), response.size() / 2, response.size() - 3}) {
        Transcript transcript;
        HttpPairPort port(&transcript);
        port.startResponse();
        port.feed(response.left(cut));
        if (port.hasSocket())
            port.feed(response.mid(cut));
        EXPECT_FALSE(port.hasSocket()) << cut;
        EXPECT_EQ(transcript.events.size(), HttpResponseReader::MaxHeaders + 1) << cut;
        EXPECT_EQ(transcript.events.last(), "disconnected 0") << cut;
        EXPECT_EQ(port.reader().state(), State::Failed) << cut;
    }
}

struct StatusCase
{
    QByteArray statusLine;
    int code;
    QString description;
};

TEST(HttpResponseReader, StatusCheck)
{
    const StatusCase cases[] = {
        {"HTTP/1.0 200 OK", 0, {}},
        {"HTTP/1.1 204 No Content", 0, {}},
        {"HTTP/1.0 302 Found", 151, QStringLiteral("302 Found")},
        {"HTTP/1.0 302 Moved Temporarily", 151, QStringLiteral("302 Moved Temporarily")},
        {"HTTP/1.0 302 Document Found", 151, QStringLiteral("302 Document Found")},
        {"HTTP/1.0 404 Not Found", 151, QStringLiteral("404 Not Found")},
        {"HTTP/1.0  200 OK", 151, QStringLiteral(" 200 OK")},
        {"HTTP/1.0", 151, QStringLiteral("[151] (no description available).")},
        {"", 151, QStringLiteral("[151] (no description available).")},
    };
    for (const StatusCase& c : cases) {
        QString description = QStringLiteral("stale");
        EXPECT_EQ(HttpResponseReader::checkStatus(c.statusLine, &description), c.code) << c.statusLine.constData();
        EXPECT_EQ(description, c.description) << c.statusLine.constData();
    }
}

} // namespace

TEST(HttpResponseReader, StatusCodeOfAStatusLine)
{
    const std::pair<const char*, int> cases[] = {
        {"HTTP/1.0 302 Found", 302},
        {"HTTP/1.1 200 OK", 200},
        {"HTTP/1.0 404", 404},
        {"HTTP/1.0 3021 Found", 0},
        {"HTTP/1.0 abc Found", 0},
        {"HTTP/1.0", 0},
        {"", 0},
    };
    for (const auto& [line, code] : cases)
        EXPECT_EQ(HttpResponseReader::statusCode(line), code) << line;
}
