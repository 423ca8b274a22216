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
        "POST /cgi-bin/submit.cgi HTTP/1.0\r\nUser-Agent: Halvern's HTTP Component V1.0\r\n"
        "Content-Type: application/x-www-form-urlencoded\r\nContent-Length: "
            + QByteArray::number(form.size() + file.size()) + "\r\n\r\n" + form + file);
    EXPECT_EQ(m_http.StatusLine(), QStringLiteral("HTTP/1.0 200 OK"));
    EXPECT_EQ(body, "<html><body>200 OK</body></html>\r\n");

    // Without a port an https address means 443.
    m_http.setURL(QStringLiteral("https://example.test/x"));
    EXPECT_EQ(m_http.URLPort(), 443);
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

} // namespace
