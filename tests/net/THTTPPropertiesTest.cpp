#include "net/CIPPort.h"
#include "net/CWinsock.h"
#include "net/THTTP.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <cerrno>
#include <netdb.h>

namespace {

struct UrlCase
{
    const char* url;
    const char* scheme;
    const char* server;
    quint16 port;
    QByteArray path;
};

TEST(THTTPProperties, UrlParsing)
{
    const UrlCase cases[] = {
        {"www.example.com", "http", "www.example.com", 80, "/"},
        {"http://www.example.com", "http", "www.example.com", 80, "/"},
        {"http://www.example.com/", "http", "www.example.com", 80, "/"},
        {"http://host:8080/cgi-bin/a.cgi?x=1&y=2", "http", "host", 8080, "/cgi-bin/a.cgi?x=1&y=2"},
        {"HTTP://Host/Path", "HTTP", "Host", 80, "/Path"},
        {"ftp://files.example.com/pub", "ftp", "files.example.com", 80, "/pub"},
        {"http://host:81", "http", "host", 81, "/"},
        {"http://host:", "http", "host", 80, "/"},
        {"http://host:99999/x", "http", "host", 0, "/x"},
        {"http://host:0000080/x", "http", "host", 80, "/x"},
        {"http://host:8080abc/x", "http", "host", 8080, "/x"},
        {"http:host/x", "http", "", 80, "/"},
        {"host/path", "http", "", 80, "/"},
        {"", "http", "", 80, "/"},
    };
    THTTP http;
    for (const UrlCase& c : cases) {
        http.setURL(QString::fromLatin1(c.url));
        EXPECT_EQ(http.URL(), QLatin1String(c.url));
        EXPECT_EQ(http.URLScheme(), QLatin1String(c.scheme)) << c.url;
        EXPECT_EQ(http.URLServer(), QLatin1String(c.server)) << c.url;
        EXPECT_EQ(http.URLPort(), c.port) << c.url;
        EXPECT_EQ(http.URLPath(), c.path) << c.url;
    }
}

TEST(THTTPProperties, Defaults)
{
    THTTP http;
    EXPECT_EQ(http.Action(), httpIdle);
    EXPECT_EQ(http.URLScheme(), QStringLiteral("http"));
    EXPECT_EQ(http.URLPort(), 80);
    EXPECT_EQ(http.URLPath(), QByteArray("/"));
    EXPECT_EQ(http.HTTPVersion(), QStringLiteral("HTTP/1.0"));
    EXPECT_EQ(http.ProxyPort(), 80);
    EXPECT_EQ(http.UserAgent(), QStringLiteral("Halvern's HTTP Component V1.0"));
    EXPECT_TRUE(http.ProxyServer().isEmpty());
    EXPECT_TRUE(http.Accept().isEmpty());
    EXPECT_EQ(http.ErrorCode(), 0);
    EXPECT_TRUE(http.RaiseErrors());
    EXPECT_FALSE(http.WinsockLoaded());
    EXPECT_EQ(http.WinsockStatus(), QStringLiteral("Down"));
}

TEST(THTTPProperties, AuthorizationFromUserAndPassword)
{
    THTTP http;
    http.setURL(QStringLiteral("http://a.example/"));
    http.setUser(QStringLiteral("Aladdin"));
    EXPECT_TRUE(http.Authorization().isEmpty());
    http.setPassword(QStringLiteral("open sesame"));
    EXPECT_EQ(http.Authorization(), QStringLiteral("Basic QWxhZGRpbjpvcGVuIHNlc2FtZQ=="));

    // The joined text is cut to 185 characters before encoding.
    http.setUser(QString(100, QLatin1Char('u')));
    http.setPassword(QString(100, QLatin1Char('p')));
    const QByteArray joined = QByteArray(100, 'u') + ':' + QByteArray(84, 'p');
    EXPECT_EQ(http.Authorization(), QStringLiteral("Basic ") + QString::fromLatin1(joined.toBase64()));

    // Same server: the credentials stay; another server: they go.
    http.setURL(QStringLiteral("http://a.example/other"));
    EXPECT_FALSE(http.Authorization().isEmpty());
    http.setURL(QStringLiteral("http://b.example/"));
    EXPECT_TRUE(http.User().isEmpty());
    EXPECT_TRUE(http.Password().isEmpty());
    EXPECT_TRUE(http.Authorization().isEmpty());
}

TEST(THTTPProperties, ResetHeaders)
{
    THTTP http;
    http.setURL(QStringLiteral("http://host:8080/x"));
    http.setContentType(QStringLiteral("text/plain"));
    http.setPostData("a=b");
    http.setFrom(QStringLiteral("me@example.com"));
    http.setReferer(QStringLiteral("r"));
    http.setPragma(QStringLiteral("no-cache"));
    http.setIfModifiedSince(QStringLiteral("yesterday"));
    http.setAccept(QStringLiteral("*/*"));
    http.setOtherHeaders({QStringLiteral("X: 1")});
    http.setAttachedFile(QStringLiteral("/tmp/f"));
    http.setProxyServer(QStringLiteral("proxy"));
    http.setAction(httpResetHeaders);
    EXPECT_TRUE(http.URL().isEmpty());
    EXPECT_TRUE(http.URLServer().isEmpty());
    EXPECT_EQ(http.URLPort(), 80);
    EXPECT_EQ(http.URLPath(), QByteArray("/"));
    EXPECT_TRUE(http.ContentType().isEmpty());
    EXPECT_TRUE(http.PostData().isEmpty());
    EXPECT_TRUE(http.From().isEmpty());
    EXPECT_TRUE(http.Referer().isEmpty());
    EXPECT_TRUE(http.Pragma().isEmpty());
    EXPECT_TRUE(http.IfModifiedSince().isEmpty());
    EXPECT_TRUE(http.Accept().isEmpty());
    EXPECT_TRUE(http.OtherHeaders().isEmpty());
    EXPECT_TRUE(http.AttachedFile().isEmpty());
    // Not a request header: the proxy stays.
    EXPECT_EQ(http.ProxyServer(), QStringLiteral("proxy"));
}

// Failures found before any connection is made, raised and (with raising off) only stored.
TEST(THTTPProperties, ErrorsBeforeConnecting)
{
    struct Case
    {
        const char* url;
        const char* proxy;
        int action;
        const char* message;
    };
    const Case cases[] = {
        {"", "", httpGet, "152: No server specified in URL."},
        {"ftp://files.example.com/", "", httpGet, "153: Specified URLScheme is invalid."},
        {"gopher://h/", "", httpPost, "153: Specified URLScheme is invalid."},
        {"http://nowhere.invalid/", "", httpHead, "11001: [11001] Host not found."},
        {"ftp://files.example.com/", "proxy.invalid", httpGet, "11001: [11001] Host not found."},
        {"http://0.0.0.0/", "", httpGet, "102: The RemoteHost address is invalid (0.0.0.0)."},
        {"http://127.0.0.1:0/", "", httpGet,
            "116: RemotePort can't be zero. Please specify a valid service port number."},
    };
    for (const Case& c : cases) {
        THTTP http;
        http.setWinsockLoaded(true);
        const QString message = QString::fromLatin1(c.message);
        http.setURL(QString::fromLatin1(c.url));
        http.setProxyServer(QString::fromLatin1(c.proxy));
        try {
            http.setAction(c.action);
            ADD_FAILURE() << "no error for " << c.url;
        } catch (const EHTTP& e) {
            EXPECT_EQ(e.message(), message);
            EXPECT_EQ(QString::number(e.ErrorCode()) + QStringLiteral(": ") + http.ErrorDescription(), message);
        }
        http.setRaiseErrors(false);
        http.setAction(c.action);
        EXPECT_EQ(QString::number(http.ErrorCode()) + QStringLiteral(": ") + http.ErrorDescription(), message);
        EXPECT_EQ(http.Action(), httpIdle);
    }
}

TEST(THTTPProperties, WithoutWinsockNothingConnects)
{
    THTTP http;
    http.setURL(QStringLiteral("http://127.0.0.1:9/"));
    http.setRaiseErrors(false);
    http.setAction(httpGet);
    EXPECT_EQ(http.ErrorCode(), 10093);
    EXPECT_EQ(http.ErrorDescription(), QStringLiteral("[10093] Winsock not loaded yet (WSANOTINITIALISED)."));
}

TEST(THTTPProperties, InvalidActionValue)
{
    THTTP http;
    for (int action : {-1, 5, 99}) {
        try {
            http.setAction(action);
            ADD_FAILURE() << action;
        } catch (const EHTTP&) {
            ADD_FAILURE() << "not an HTTP error";
        } catch (const QuilletError& e) {
            EXPECT_EQ(e.message(), QStringLiteral("Invalid Action Value"));
        }
    }
}

TEST(Winsock, LoadedIsCountedPerComponent)
{
    const int before = CWinsock::useCount();
    {
        THTTP a;
        THTTP b;
        a.setWinsockLoaded(true);
        a.setWinsockLoaded(true);
        EXPECT_EQ(CWinsock::useCount(), before + 1);
        EXPECT_TRUE(a.WinsockLoaded());
        EXPECT_EQ(a.WinsockStatus(), QStringLiteral("Running"));
        EXPECT_FALSE(a.WinsockInfo().isEmpty());
        b.setWinsockLoaded(true);
        EXPECT_EQ(CWinsock::useCount(), before + 2);
        a.setWinsockLoaded(false);
        EXPECT_EQ(a.WinsockStatus(), QStringLiteral("Down"));
        EXPECT_EQ(CWinsock::useCount(), before + 1);
        EXPECT_FALSE(a.LocalHost().isEmpty());
    }
    // Components release what they loaded when destroyed.
    EXPECT_EQ(CWinsock::useCount(), before);
}

TEST(Winsock, Descriptions)
{
    const std::pair<int, const char*> cases[] = {
        {0, "Ok"},
        {10061, "[10061] Connection refused."},
        {10066, "[10066] Directory not empt."},
        {11004, "[11004] Valid name, no data record (check DNS setup)."},
        {151, "[151] (no description available)."},
        {-5, "[-5] (no description available)."},
    };
    for (const auto& [code, text] : cases)
        EXPECT_EQ(CWinsock::describe(code), QString::fromLatin1(text));
    EXPECT_EQ(CIPPort::describe(301), QStringLiteral("Interrupted"));
    EXPECT_EQ(CIPPort::describe(104),
        QStringLiteral("Already connected. If you want to reconnect, close the current connection first."));
}

TEST(Winsock, ErrnoAndResolverMapping)
{
    const std::pair<int, int> fromErrno[] = {
        {ECONNREFUSED, 10061},
        {ETIMEDOUT, 10060},
        {ECONNRESET, 10054},
        {EWOULDBLOCK, 10035},
        {EINPROGRESS, 10036},
        {EADDRINUSE, 10048},
        {ENETUNREACH, 10051},
        {EHOSTUNREACH, 10065},
        {EPIPE, 10058},
        {ENOTCONN, 10057},
        {EMFILE, 10024},
        {EIO, EIO},
    };
    for (const auto& [error, code] : fromErrno)
        EXPECT_EQ(CWinsock::codeFromErrno(error), code) << error;
    EXPECT_EQ(CWinsock::codeFromResolver(EAI_NONAME, 0), 11001);
    EXPECT_EQ(CWinsock::codeFromResolver(EAI_AGAIN, 0), 11002);
    EXPECT_EQ(CWinsock::codeFromResolver(EAI_FAIL, 0), 11003);
    EXPECT_EQ(CWinsock::codeFromResolver(EAI_NODATA, 0), 11004);
    EXPECT_EQ(CWinsock::codeFromResolver(EAI_SYSTEM, ECONNREFUSED), 10061);

    CWinsock winsock;
    quint32 address = 1;
    EXPECT_EQ(winsock.resolve(QStringLiteral("127.0.0.1"), &address), 10093);
    winsock.setLoaded(true);
    EXPECT_EQ(winsock.resolve(QStringLiteral("127.0.0.1"), &address), 0);
    EXPECT_EQ(address, htonl(INADDR_LOOPBACK));
    EXPECT_EQ(winsock.resolve(QStringLiteral("localhost"), &address), 0);
    EXPECT_EQ(address, htonl(INADDR_LOOPBACK));
    EXPECT_EQ(winsock.resolve(QStringLiteral("no-such-host.invalid"), &address), 11001);
    EXPECT_EQ(winsock.resolve(QStringLiteral("INVALID."), &address), 11001);
}

} // namespace
