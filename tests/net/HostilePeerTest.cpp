// The clients against hostile servers (tests/peers/hostile_peer.py): endless replies and listings
// fail their action with a clear error instead of growing without bound, a refused TLS ends the
// session before anything goes in clear, and an accepted mail counts as sent.
#include "net/NetworkWait.h"
#include "net/TFTP.h"
#include "net/THTTP.h"
#include "net/TmsMessage.h"
#include "net/TmsSMTP.h"

#include "support/ErrorText.h"
#include "support/NetworkWatchdog.h"
#include "support/PeerProcess.h"
#include "support/TempBase.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

QString s(const char* text)
{
    return QString::fromUtf8(text);
}

class Hostile : public ::testing::Test
{
protected:
    std::unique_ptr<PeerProcess> startPeer(const char* mode)
    {
        auto peer = std::make_unique<PeerProcess>(s("hostile_peer.py"),
            QStringList{s("--mode"), s(mode), s("--log"), m_base.file(s("log")), s("--lifetime"), s("60")});
        EXPECT_TRUE(peer->started()) << peer->errors().toStdString();
        return peer;
    }
    // What the client sent, one line each.
    QByteArray received() const { return m_base.read(s("log")); }

    TempBase m_base;
    NetworkWatchdog m_watchdog{50000};
};

TEST_F(Hostile, FtpEndlessReplyListingAndRefusedTls)
{
    struct Case
    {
        const char* mode;
        const char* host; // the scheme before 127.0.0.1:port
        int action;
        const char* error;
    };
    const Case cases[] = {
        {"ftp-endless-reply", "", ftpLogon, "147: The server's reply is longer than 64 KB; it was not read further."},
        {"ftp-endless-list", "", ftpListDirectory,
            "147: The server's listing is longer than 16 MB; it was not read further."},
        {"ftp-refuse-tls", "ftps://", ftpLogon, "141: 534 No TLS here"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        QFile::remove(m_base.file(s("log")));
        auto peer = startPeer(c.mode);
        TFTP ftp;
        ftp.setWinsockLoaded(true);
        qint64 listed = 0;
        QObject::connect(&ftp, &TFTP::OnDirList, [&](const QString& entry) { listed += entry.size(); });
        ftp.setRemoteHost(s(c.host) + s("127.0.0.1:%1").arg(peer->port()));
        ftp.setUser(s("bob"));
        ftp.setPassword(s("secret"));
        EXPECT_EQ(errorText([&] { ftp.setAction(c.action); }), s(c.error));
        // The session ends with the failure: nothing more goes to this server on it.
        EXPECT_FALSE(ftp.isConnected());
        EXPECT_LE(listed, 16 * 1024 * 1024);
    }
    // After the refused AUTH TLS neither the user name nor the password went out.
    EXPECT_EQ(received(), QByteArray("AUTH TLS\n"));
}

TEST_F(Hostile, SmtpEndlessGreetingLogInInClearAndUnansweredQuit)
{
    struct Case
    {
        const char* mode;
        const char* user;
        const char* error; // how the message begins; "" for a mail sent
        const char* received; // the commands the server got
    };
    const Case cases[] = {
        {"smtp-endless", "", "The server's reply is longer than 64 KB", ""},
        {"smtp-no-starttls", "ann", "The server 127.0.0.1", "EHLO"},
        // The 250 after the message is the delivery; the silent QUIT changes nothing.
        {"smtp-no-quit", "", "", "HELO"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        QFile::remove(m_base.file(s("log")));
        auto peer = startPeer(c.mode);
        TmsMessage message;
        message.Sender = {s("Ann"), s("ann@author.example")};
        message.Recipients.Add(s("submit@site.example"));
        message.Body = QStringList{s("Hello")};
        TmsSMTP smtp;
        smtp.setWinsockLoaded(true);
        smtp.setTimeOut(2);
        smtp.MailMessage = &message;
        smtp.Server = s("127.0.0.1:%1").arg(peer->port());
        smtp.User = s(c.user);
        smtp.Password = s("secret");
        const QString error = errorText([&] { smtp.Send(); });
        EXPECT_TRUE(*c.error ? error.startsWith(s(c.error)) : error.isEmpty()) << error.toStdString();
        EXPECT_TRUE(received().startsWith(c.received)) << received().toStdString();
        EXPECT_FALSE(received().contains("AUTH")) << received().toStdString();
    }
}

// An address that would break its command fails before any connection is made.
TEST(EnvelopeAddress, RefusesWhatWouldBreakTheCommand)
{
    for (const char* bad : {"a@x, b@y", "me@x> BODY=8BITMIME", "<me@x", "me @x", "me@x\r\nRCPT TO:<e@x", "me\t@x"})
        EXPECT_FALSE(TmsSMTP::isEnvelopeAddress(s(bad))) << bad;
    for (const char* good : {"me@x.example", "", "first.last+tag@sub.example"})
        EXPECT_TRUE(TmsSMTP::isEnvelopeAddress(s(good))) << good;
}

TEST_F(Hostile, HttpEndlessBodyIsJudgedByItsStatusAndTheSiteLimitEndsATrickle)
{
    THTTP http;
    http.setWinsockLoaded(true);
    qint64 body = 0;
    QObject::connect(&http, &THTTP::OnTransfer, [&](qint64 count, const QByteArray&) { body = count; });
    auto endless = startPeer("http-endless");
    http.setURL(s("http://127.0.0.1:%1/post").arg(endless->port()));
    http.setPostData("k=v");
    EXPECT_EQ(errorText([&] { http.setAction(httpPost); }), QString());
    EXPECT_EQ(http.StatusLine(), s("HTTP/1.0 200 OK"));
    EXPECT_LE(body, 17 * 1024 * 1024);

    // One byte a second keeps the stall watch content; the site's limit ends the wait.
    auto trickle = startPeer("trickle");
    setNetworkSiteLimit(1, [] { interruptNetworkWaits(); });
    startSiteClock();
    http.setURL(s("http://127.0.0.1:%1/post").arg(trickle->port()));
    EXPECT_EQ(errorText([&] { http.setAction(httpPost); }), s("301: Interrupted"));
    setNetworkSiteLimit(0, {});
}

} // namespace
