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

using HttpPairPort = PairPortT<HttpPort>;

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
        void responseBodyStarts() override { }
        void responseBody(qint64, const QByteArray&) override { }
    } count;
    reader.setListener(&count);
    for (int i = 0; i < 100; ++i)
        reader.put(QByteArray(2048, 'h'), false);
    reader.put("X: y", true);
    EXPECT_LE(count.longest, HttpResponseReader::MaxLineLength);
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
