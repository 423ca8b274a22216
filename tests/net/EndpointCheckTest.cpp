// The reachability check against real servers on 127.0.0.1: what each kind of endpoint is judged,
// and how many are tried at once.
#include "net/EndpointCheck.h"

#include "support/AuthorityFixture.h"
#include "support/PeerProcess.h"
#include "support/TempBase.h"

#include <QFile>

#include <gtest/gtest.h>

#include <memory>

namespace {

QString s(const char* text)
{
    return QString::fromUtf8(text);
}

class EndpointCheckTest : public WithTestAuthority<::testing::Test>
{
protected:
    PeerProcess& peer(const QString& script, QStringList args)
    {
        args << s("--lifetime") << s("60");
        m_peers.push_back(std::make_unique<PeerProcess>(script, args));
        EXPECT_TRUE(m_peers.back()->started()) << script.toStdString() << m_peers.back()->errors().toStdString();
        return *m_peers.back();
    }
    QStringList tls(const char* certificate) const
    {
        return {s("--tls"), s_authority->certFile(s(certificate)), s_authority->keyFile(s(certificate))};
    }

    TempBase m_base;
    std::vector<std::unique_ptr<PeerProcess>> m_peers;
};

TEST_F(EndpointCheckTest, EachKindOfEndpointGetsItsVerdict)
{
    ASSERT_TRUE(s_authority->ready()) << s_authority->errors().toStdString();
    const QStringList http{s("--record"), m_base.file(s("http"))};
    const QStringList ftp{s("--root"), m_base.path(), s("--record"), m_base.file(s("ftp"))};
    const QStringList smtp{s("--record"), m_base.file(s("mail"))};
    quint16 refused = 0;
    {
        PeerProcess gone(s("greeting_peer.py"), {s("--lifetime"), s("30")});
        ASSERT_TRUE(gone.started());
        refused = gone.port();
    }
    using K = ProbeTarget::Kind;
    using T = ProbeTarget::Tls;
    const struct
    {
        const char* name;
        quint16 port;
        K kind;
        T tls;
        const char* expected; // empty: reachable; else a part of the reason
    } cases[] = {
        {"plain HTTP", peer(s("http_peer.py"), http).port(), K::Connect, T::None, ""},
        {"HTTPS", peer(s("http_peer.py"), http + tls("good")).port(), K::Connect, T::Implicit, ""},
        {"HTTPS, expired certificate", peer(s("http_peer.py"), http + tls("expired")).port(), K::Connect, T::Implicit,
            "has expired"},
        {"HTTPS, another host's certificate", peer(s("http_peer.py"), http + tls("wronghost")).port(), K::Connect,
            T::Implicit, "for another host"},
        {"FTP", peer(s("ftp_peer.py"), ftp).port(), K::Ftp, T::None, ""},
        {"FTP with AUTH TLS", peer(s("ftp_peer.py"), ftp + tls("good")).port(), K::Ftp, T::Command, ""},
        {"SMTP", peer(s("smtp_peer.py"), smtp).port(), K::Smtp, T::None, ""},
        {"SMTP with STARTTLS", peer(s("smtp_peer.py"), smtp + tls("good")).port(), K::Smtp, T::Command, ""},
        {"SMTP over TLS", peer(s("smtp_peer.py"), smtp + tls("good") + QStringList{s("--implicit-tls")}).port(),
            K::Smtp, T::Implicit, ""},
        {"SMTP refusing to greet", peer(s("greeting_peer.py"), {s("--greeting"), s("554 Go away")}).port(), K::Smtp,
            T::None, "greeting: 554 Go away"},
        {"refused port", refused, K::Connect, T::None, "[10061] Connection refused."},
        {"silent port", peer(s("greeting_peer.py"), {s("--silent")}).port(), K::Ftp, T::None,
            "[10060] Connection timed out."},
    };
    std::vector<ProbeTarget> targets;
    for (const auto& c : cases) {
        ProbeTarget t;
        t.label = s(c.name);
        t.kind = c.kind;
        t.tls = c.tls;
        t.host = s("127.0.0.1");
        t.port = c.port;
        t.caFile = s_authority->caFile();
        targets.push_back(t);
    }
    const int seconds = 2;
    EndpointCheck check(targets, seconds);
    check.runToEnd();
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const ProbeResult& r = check.results()[i];
        SCOPED_TRACE(cases[i].name);
        EXPECT_TRUE(r.done);
        if (!*cases[i].expected) {
            EXPECT_TRUE(r.reachable) << r.reason.toStdString();
            EXPECT_TRUE(r.text().startsWith(s("reachable in "))) << r.text().toStdString();
        } else {
            EXPECT_FALSE(r.reachable);
            EXPECT_TRUE(r.reason.contains(s(cases[i].expected))) << r.reason.toStdString();
        }
    }
    // The silent server is given up on when the time-out is up, not before.
    EXPECT_GE(check.results().back().millis, seconds * 1000);
    EXPECT_FALSE(check.allReachable());
}

TEST_F(EndpointCheckTest, SixtyEndpointsAtMostSixteenAtATime)
{
    const QString counted = m_base.file(s("most"));
    // The greeting waits a little, so that connections overlap however fast each one is.
    const quint16 port = peer(s("greeting_peer.py"), {s("--delay"), s("0.2"), s("--count-file"), counted}).port();
    std::vector<ProbeTarget> targets(60);
    for (ProbeTarget& t : targets) {
        t.label = s("site");
        t.kind = ProbeTarget::Kind::Ftp;
        t.host = s("127.0.0.1");
        t.port = port;
    }
    EndpointCheck check(targets, 30);
    int reported = 0;
    QObject::connect(&check, &EndpointCheck::progress, [&](int done, int total) {
        EXPECT_EQ(done, reported + 1);
        EXPECT_EQ(total, 60);
        reported = done;
    });
    check.runToEnd();
    EXPECT_EQ(reported, 60);
    EXPECT_TRUE(check.allReachable());
    QFile file(counted);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const int most = file.readAll().toInt();
    EXPECT_LE(most, 16);
    EXPECT_GT(most, 1);
    EXPECT_LE(check.mostAtOnce(), 16);
}

} // namespace
