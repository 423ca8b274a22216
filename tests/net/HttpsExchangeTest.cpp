#include "net/NetworkWait.h"
#include "net/THTTP.h"

#include "support/AuthorityFixture.h"
#include "support/ErrorText.h"
#include "support/NetworkWatchdog.h"
#include "support/PeerProcess.h"
#include "support/RecordedRequests.h"
#include "support/TempBase.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

namespace {

// HTTPS against Python's http.server wrapped in TLS, with certificates from a test authority.
class HttpsExchange : public WithTestAuthority<::testing::Test>
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(s_authority->ready()) << s_authority->errors().toStdString();
        m_http.setWinsockLoaded(true);
    }

    std::unique_ptr<PeerProcess> startPeer(const QString& certificate)
    {
        auto peer = std::make_unique<PeerProcess>(QStringLiteral("http_peer.py"),
            QStringList{QStringLiteral("--record"), m_base.file(QStringLiteral("requests")), QStringLiteral("--tls"),
                s_authority->certFile(certificate), s_authority->keyFile(certificate), QStringLiteral("--lifetime"),
                QStringLiteral("90")});
        EXPECT_TRUE(peer->started()) << peer->errors().toStdString();
        return peer;
    }

    QByteArrayList recorded() const { return recordedRequestBytes(m_base.file(QStringLiteral("requests"))); }

    static QString run(THTTP& http, int action)
    {
        return errorText([&] { http.setAction(action); });
    }

    TempBase m_base;
    NetworkWatchdog m_watchdog{60000};
    THTTP m_http;
};

TEST_F(HttpsExchange, FormPostWithFileArrivesByteForByte)
{
    auto peer = startPeer(QStringLiteral("good"));
    // Larger than many TLS records and the socket buffers, so partial writes happen.
    QByteArray file;
    for (int i = 0; i < 700000; ++i)
        file += char(i * 13 % 251);
    m_base.write(QStringLiteral("files/upload.bin"), file);
    const QByteArray form = "name=A&B=C%20D&notes=line one\r\nline two\r\n&file=";
    m_http.setURL(QStringLiteral("https://127.0.0.1:%1/cgi-bin/submit.cgi").arg(peer->port()));
    m_http.setCAFile(s_authority->caFile());
    m_http.setContentType(QStringLiteral("application/x-www-form-urlencoded"));
    m_http.setPostData(form);
    m_http.setAttachedFile(m_base.file(QStringLiteral("files/upload.bin")));
    QByteArray body;
    QObject::connect(&m_http, &THTTP::OnTransfer, [&](qint64, const QByteArray& piece) { body += piece; });
    ASSERT_EQ(run(m_http, httpPost), QString()) << peer->errors().toStdString();
    const QByteArrayList requests = recorded();
    ASSERT_EQ(requests.size(), 1);
    EXPECT_EQ(requests[0],
        "POST /cgi-bin/submit.cgi HTTP/1.0\r\nHost: 127.0.0.1:" + QByteArray::number(peer->port())
            + "\r\nUser-Agent: Halvern's HTTP Component V1.0\r\n"
              "Content-Type: application/x-www-form-urlencoded\r\nContent-Length: "
            + QByteArray::number(form.size() + file.size()) + "\r\n\r\n" + form + file);
    EXPECT_EQ(m_http.StatusLine(), QStringLiteral("HTTP/1.0 200 OK"));
    EXPECT_EQ(body, "<html><body>200 OK</body></html>\r\n");

    // Without a port an https address means 443.
    m_http.setURL(QStringLiteral("https://example.test/x"));
    EXPECT_EQ(m_http.URLPort(), 443);
}

// Through a proxy, the request goes through a CONNECT tunnel exactly as it goes to the server
// itself; the proxy sees only the CONNECT, never the request.
TEST_F(HttpsExchange, ThroughProxyTunnel)
{
    auto peer = startPeer(QStringLiteral("good"));
    const QString proxyRecord = m_base.file(QStringLiteral("proxy"));
    const auto startProxy = [&](const QStringList& extra) {
        auto proxy = std::make_unique<PeerProcess>(QStringLiteral("http_proxy.py"),
            QStringList{QStringLiteral("--record"), proxyRecord, QStringLiteral("--upstream"),
                QString::number(peer->port()), QStringLiteral("--lifetime"), QStringLiteral("90")}
                + extra);
        EXPECT_TRUE(proxy->started()) << proxy->errors().toStdString();
        m_http.setProxyServer(QStringLiteral("127.0.0.1"));
        m_http.setProxyPort(proxy->port());
        return proxy;
    };
    const QByteArray form = "name=A&B=C%20D&notes=line one\r\nline two\r\n";
    // The proxy reaches the server whatever port the address names: this one is never connected to here.
    m_http.setURL(QStringLiteral("https://127.0.0.1:8443/cgi-bin/submit.cgi"));
    m_http.setCAFile(s_authority->caFile());
    m_http.setContentType(QStringLiteral("application/x-www-form-urlencoded"));
    m_http.setPostData(form);
    const QByteArray connect = "CONNECT 127.0.0.1:8443 HTTP/1.0\r\nHost: 127.0.0.1:8443\r\n\r\n";
    {
        auto proxy = startProxy({});
        QByteArray body;
        QObject::connect(&m_http, &THTTP::OnTransfer, [&](qint64, const QByteArray& piece) { body += piece; });
        ASSERT_EQ(run(m_http, httpPost), QString()) << proxy->errors().toStdString() << peer->errors().toStdString();
        const QByteArrayList requests = recorded();
        ASSERT_EQ(requests.size(), 1);
        // Through the tunnel the request names the site, not the proxy.
        EXPECT_EQ(requests[0],
            "POST /cgi-bin/submit.cgi HTTP/1.0\r\nHost: 127.0.0.1:8443\r\nUser-Agent: Halvern's HTTP Component V1.0\r\n"
            "Content-Type: application/x-www-form-urlencoded\r\nContent-Length: "
                + QByteArray::number(form.size()) + "\r\n\r\n" + form);
        EXPECT_EQ(m_http.StatusLine(), QStringLiteral("HTTP/1.0 200 OK"));
        EXPECT_EQ(body, "<html><body>200 OK</body></html>\r\n");
        QFile atProxy(proxyRecord + QStringLiteral("/0001.req"));
        ASSERT_TRUE(atProxy.open(QIODevice::ReadOnly));
        EXPECT_EQ(atProxy.readAll(), connect);
    }
    // A refusal names the proxy's status line, also when the proxy closes before its answer ends.
    const std::pair<const char*, const char*> refusals[] = {
        {"HTTP/1.0 403 Forbidden\\r\\n\\r\\n", "HTTP/1.0 403 Forbidden"},
        {"HTTP/1.1 407 Proxy Authentication Required\\r\\nProxy-Authenticate: Basic\\r\\n",
            "HTTP/1.1 407 Proxy Authentication Required"},
    };
    for (const auto& [answer, statusLine] : refusals) {
        SCOPED_TRACE(statusLine);
        auto proxy = startProxy({QStringLiteral("--refuse-connect"), QString::fromLatin1(answer)});
        EXPECT_EQ(run(m_http, httpPost),
            QStringLiteral("151: The proxy did not open a tunnel to 127.0.0.1:8443: %1")
                .arg(QLatin1String(statusLine)));
        // Nothing of the request went anywhere.
        EXPECT_EQ(recorded().size(), 1);
    }
    // Port 443 is the scheme's own: the request names the host alone. (The reply collector of the
    // first request is gone with its block.)
    QObject::disconnect(&m_http, &THTTP::OnTransfer, nullptr, nullptr);
    auto proxy = startProxy({});
    m_http.setURL(QStringLiteral("https://127.0.0.1/cgi-bin/submit.cgi"));
    ASSERT_EQ(run(m_http, httpPost), QString()) << proxy->errors().toStdString();
    ASSERT_EQ(recorded().size(), 2);
    EXPECT_TRUE(recorded()[1].startsWith("POST /cgi-bin/submit.cgi HTTP/1.0\r\nHost: 127.0.0.1\r\nUser-Agent: "))
        << recorded()[1].left(200).constData();
}

struct RefusalCase
{
    const char* certificate;
    bool withCaFile;
    const char* reason;
};

TEST_F(HttpsExchange, BadCertificatesAreRefusedWithTheirReason)
{
    const RefusalCase cases[] = {
        {"wronghost", true, "the server's certificate is for another host (wrong host)"},
        {"expired", true, "the server's certificate has expired"},
        {"good", false, "the server's certificate comes from an unknown issuer"},
    };
    for (const RefusalCase& c : cases) {
        SCOPED_TRACE(c.certificate);
        auto peer = startPeer(QString::fromLatin1(c.certificate));
        m_http.setURL(QStringLiteral("https://127.0.0.1:%1/form").arg(peer->port()));
        m_http.setCAFile(c.withCaFile ? s_authority->caFile() : QString());
        m_http.setPostData("secret=1");
        EXPECT_EQ(run(m_http, httpPost),
            QStringLiteral("310: Secure connection to 127.0.0.1 failed: %1.").arg(QLatin1String(c.reason)));
        EXPECT_EQ(m_http.ErrorCode(), 310);
    }
    // Nothing of any request went out.
    EXPECT_TRUE(recorded().isEmpty());
}

// Trust comes from the CA file as it is now: the kept context of a CA file does not outlive an
// edit of the file, and a file that could not be read is tried again.
TEST_F(HttpsExchange, TrustFollowsTheCaFileAsItChanges)
{
    auto peer = startPeer(QStringLiteral("good"));
    const QString caFile = m_base.file(QStringLiteral("trust.pem"));
    auto contentOf = [](const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    const QByteArray authority = contentOf(s_authority->caFile());
    const QByteArray stranger = contentOf(s_authority->certFile(QStringLiteral("wronghost")));
    const QString unknownIssuer = QStringLiteral(
        "310: Secure connection to 127.0.0.1 failed: the server's certificate comes from an unknown issuer.");
    const struct
    {
        const QByteArray* content; // nullptr: no file
        QString outcome;
    } steps[] = {
        {nullptr, QStringLiteral("310: The CA file %1 could not be read.").arg(caFile)},
        {&authority, QString()},
        {&stranger, unknownIssuer},
        {&authority, QString()},
    };
    int number = 0;
    for (const auto& step : steps) {
        SCOPED_TRACE(++number);
        if (step.content)
            m_base.write(QStringLiteral("trust.pem"), *step.content);
        m_http.setURL(QStringLiteral("https://127.0.0.1:%1/form").arg(peer->port()));
        m_http.setCAFile(caFile);
        m_http.setPostData("a=1");
        EXPECT_EQ(run(m_http, httpPost), step.outcome);
    }
}

// The system's trust comes from its certificate folder, one hashed name per root, read when a
// handshake asks for it, and from a bundle named by SSL_CERT_FILE; no CA file is needed.
TEST_F(HttpsExchange, SystemTrustComesFromTheHashedFolderAndANamedBundle)
{
    QProcess openssl;
    openssl.start(QStringLiteral("openssl"),
        {QStringLiteral("x509"), QStringLiteral("-hash"), QStringLiteral("-noout"), QStringLiteral("-in"),
            s_authority->caFile()});
    ASSERT_TRUE(openssl.waitForFinished(20000));
    const QString hash = QString::fromLatin1(openssl.readAllStandardOutput().trimmed());
    ASSERT_EQ(hash.size(), 8);
    QFile authority(s_authority->caFile());
    ASSERT_TRUE(authority.open(QIODevice::ReadOnly));
    const QByteArray root = authority.readAll();
    m_base.write(QStringLiteral("trusting/%1.0").arg(hash), root);
    m_base.write(QStringLiteral("other/00000000.0"), "not this authority");
    m_base.write(QStringLiteral("bundle.pem"), root);
    const QByteArray trusting = QFile::encodeName(m_base.file(QStringLiteral("trusting")));
    const QByteArray other = QFile::encodeName(m_base.file(QStringLiteral("other")));
    const QByteArray bundle = QFile::encodeName(m_base.file(QStringLiteral("bundle.pem")));
    const QString unknownIssuer = QStringLiteral(
        "310: Secure connection to 127.0.0.1 failed: the server's certificate comes from an unknown issuer.");
    const struct
    {
        QByteArray folder;
        QByteArray file; // empty: not set
        QString outcome;
    } cases[] = {
        {trusting, {}, QString()},
        {other, {}, unknownIssuer},
        {other, bundle, QString()},
    };
    auto peer = startPeer(QStringLiteral("good"));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.folder.toStdString() + " " + c.file.toStdString());
        qputenv("SSL_CERT_DIR", c.folder);
        if (c.file.isEmpty())
            qunsetenv("SSL_CERT_FILE");
        else
            qputenv("SSL_CERT_FILE", c.file);
        m_http.setURL(QStringLiteral("https://127.0.0.1:%1/form").arg(peer->port()));
        m_http.setCAFile(QString());
        m_http.setPostData("a=1");
        EXPECT_EQ(run(m_http, httpPost), c.outcome);
    }
    qunsetenv("SSL_CERT_DIR");
    qunsetenv("SSL_CERT_FILE");
}

TEST_F(HttpsExchange, PeerHangingUpInTheHandshakeEndsWithAnError)
{
    PeerProcess peer(QStringLiteral("hangup_peer.py"), {QStringLiteral("--lifetime"), QStringLiteral("60")});
    ASSERT_TRUE(peer.started());
    m_http.setURL(QStringLiteral("https://127.0.0.1:%1/form").arg(peer.port()));
    m_http.setPostData("a=1");
    const QString error = run(m_http, httpPost);
    EXPECT_TRUE(error.startsWith(QStringLiteral("310: Secure connection to 127.0.0.1 failed: ")))
        << error.toStdString();
    EXPECT_TRUE(error.endsWith(QStringLiteral(" during the handshake."))) << error.toStdString();
}

// A connection cut inside a TLS record (after the handshake) must end the action with an error:
// the bytes of a cut record are no part of the answer, and the close is no clean end of it.
TEST_F(HttpsExchange, PeerClosingInsideARecordEndsWithAnError)
{
    for (const char* cut : {"record", "header"}) {
        SCOPED_TRACE(cut);
        PeerProcess peer(QStringLiteral("tls_cut_peer.py"),
            {QStringLiteral("--tls"), s_authority->certFile(QStringLiteral("good")),
                s_authority->keyFile(QStringLiteral("good")), QStringLiteral("--cut"), QString::fromLatin1(cut),
                QStringLiteral("--lifetime"), QStringLiteral("60")});
        ASSERT_TRUE(peer.started()) << peer.errors().toStdString();
        m_http.setURL(QStringLiteral("https://127.0.0.1:%1/page").arg(peer.port()));
        m_http.setCAFile(s_authority->caFile());
        QByteArray body;
        const auto connection
            = QObject::connect(&m_http, &THTTP::OnTransfer, [&](qint64, const QByteArray& piece) { body += piece; });
        const QString error = run(m_http, httpGet);
        QObject::disconnect(connection);
        EXPECT_EQ(error,
            QStringLiteral("10054: Secure connection to 127.0.0.1 failed: the server closed the connection in the "
                           "middle of a TLS record."));
        EXPECT_TRUE(body.isEmpty());
    }
}

} // namespace
