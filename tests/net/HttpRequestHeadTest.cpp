// The request head the HTTP client sends, built from its parts without any I/O.
#include "net/HttpRequestHead.h"

#include <gtest/gtest.h>

namespace {

struct HeadCase
{
    const char* name;
    void (*set)(HttpRequestParts&);
    const char* expected;
};

TEST(HttpRequestHead, BuildsTheRequestLineAndHeadersAsSent)
{
    const HeadCase cases[] = {
        {"plain get", [](HttpRequestParts&) {}, "GET / HTTP/1.0\r\nHost: site.example\r\n\r\n"},
        {"post with body and file",
            [](HttpRequestParts& p) {
                p.method = "POST";
                p.contentType = QStringLiteral("application/x-www-form-urlencoded");
                p.postDataSize = 7;
                p.fileSize = 8;
            },
            "POST / HTTP/1.0\r\nHost: site.example\r\nContent-Type: application/x-www-form-urlencoded\r\n"
            "Content-Length: 15\r\n\r\n"},
        {"port and ipv6 host",
            [](HttpRequestParts& p) {
                p.server = QStringLiteral("::1");
                p.port = 8080;
            },
            "GET / HTTP/1.0\r\nHost: [::1]:8080\r\n\r\n"},
        {"https on its own port names none",
            [](HttpRequestParts& p) {
                p.scheme = QStringLiteral("https");
                p.port = 443;
            },
            "GET / HTTP/1.0\r\nHost: site.example\r\n\r\n"},
        {"plain proxy gets the whole address",
            [](HttpRequestParts& p) {
                p.throughProxy = true;
                p.port = 81;
                p.path = "/a b";
            },
            "GET http://site.example:81/a%20b HTTP/1.0\r\nHost: site.example:81\r\n\r\n"},
        {"line breaks stay inside their header",
            [](HttpRequestParts& p) {
                p.userAgent = QStringLiteral("Agent\r\nX-Injected: 1");
                p.referer = QStringLiteral("http://from.example/");
            },
            "GET / HTTP/1.0\r\nHost: site.example\r\nUser-Agent: Agent  X-Injected: 1\r\n"
            "Referer: http://from.example/\r\n\r\n"},
        {"own host header and a dotted line",
            [](HttpRequestParts& p) {
                p.otherHeaders = {QStringLiteral("host: other.example"), QStringLiteral(".dot: 1")};
            },
            "GET / HTTP/1.0\r\nhost: other.example\r\n..dot: 1\r\n\r\n"},
    };
    for (const HeadCase& c : cases) {
        SCOPED_TRACE(c.name);
        HttpRequestParts parts;
        parts.method = "GET";
        parts.server = QStringLiteral("site.example");
        c.set(parts);
        EXPECT_EQ(HttpRequestHead::build(parts).toStdString(), std::string(c.expected));
    }
    EXPECT_EQ(HttpRequestHead::tunnelRequest(QStringLiteral("site.example"), 443),
        QByteArray("CONNECT site.example:443 HTTP/1.0\r\nHost: site.example:443\r\n\r\n"));
}

} // namespace
