#include "net/NetworkWait.h"
#include "net/TFTP.h"

#include "support/AuthorityFixture.h"
#include "support/ErrorText.h"
#include "support/NetworkWatchdog.h"
#include "support/PeerProcess.h"
#include "support/TempBase.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {

// FTP over TLS against pyftpdlib's TLS handler, certificates from a test authority.
class FtpsExchange : public WithTestAuthority<::testing::Test>
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(s_authority->ready()) << s_authority->errors().toStdString();
        m_ftp.setWinsockLoaded(true);
        m_ftp.setTransferMode(tmBinary);
        m_ftp.setUser(QStringLiteral("bob"));
        m_ftp.setPassword(QStringLiteral("secret"));
        QObject::connect(&m_ftp, &TFTP::OnDirList, [this](const QString& entry) { m_list << entry; });
    }

    void startPeer(bool tls)
    {
        QStringList options{QStringLiteral("--root"), root(), QStringLiteral("--record"),
            m_base.file(QStringLiteral("commands")), QStringLiteral("--lifetime"), QStringLiteral("100")};
        if (tls)
            options << QStringLiteral("--tls") << s_authority->certFile(QStringLiteral("good"))
                    << s_authority->keyFile(QStringLiteral("good")) << QStringLiteral("--tls-sessions")
                    << m_base.file(QStringLiteral("tls-sessions"));
        m_peer = std::make_unique<PeerProcess>(QStringLiteral("ftp_peer.py"), options);
        ASSERT_TRUE(m_peer->started()) << m_peer->errors().toStdString();
        m_ftp.setRemoteHost(QStringLiteral("ftps://127.0.0.1:%1").arg(m_peer->port()));
    }

    QString root() const { return m_base.file(QStringLiteral("root")); }
    QStringList commands() const
    {
        return QString::fromUtf8(m_base.read(QStringLiteral("commands"))).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }
    QString run(int action)
    {
        return errorText([&] { m_ftp.setAction(action); });
    }

    TempBase m_base;
    NetworkWatchdog m_watchdog{90000};
    TFTP m_ftp;
    std::unique_ptr<PeerProcess> m_peer;
    QStringList m_list;
};

TEST_F(FtpsExchange, UploadAndListingGoThroughProtectedConnections)
{
    startPeer(true);
    m_ftp.setCAFile(s_authority->caFile());
    QByteArray content(3 * 1024 * 1024 + 5, Qt::Uninitialized);
    for (qsizetype i = 0; i < content.size(); ++i)
        content[i] = char((i * 31) ^ (i >> 9));
    m_base.write(QStringLiteral("files/up.bin"), content);
    m_ftp.setLocalFile(m_base.file(QStringLiteral("files/up.bin")));
    m_ftp.setRemoteFile(QStringLiteral("up.bin"));
    ASSERT_EQ(run(ftpUpload), QString()) << m_peer->errors().toStdString();
    QFile arrived(root() + QStringLiteral("/up.bin"));
    ASSERT_TRUE(arrived.open(QIODevice::ReadOnly));
    EXPECT_TRUE(arrived.readAll() == content);

    m_ftp.setRemoteFile(QString());
    ASSERT_EQ(run(ftpListDirectory), QString());
    EXPECT_EQ(m_list, QStringList{QStringLiteral("up.bin")});
    ASSERT_EQ(run(ftpLogoff), QString());

    // Both data connections resumed the control connection's session instead of a full handshake.
    EXPECT_EQ(m_base.read(QStringLiteral("tls-sessions")), "resumed\nresumed\n");

    const QStringList lines = commands();
    ASSERT_GE(lines.size(), 6);
    EXPECT_EQ(lines.mid(0, 6),
        (QStringList{QStringLiteral("AUTH TLS"), QStringLiteral("PBSZ 0"), QStringLiteral("PROT P"),
            QStringLiteral("USER bob"), QStringLiteral("PASS secret"), QStringLiteral("TYPE I")}));
}

// Neither a refused AUTH TLS nor a failed handshake lets the user name or password go out.
TEST_F(FtpsExchange, NoLogOnInClearTextAfterTlsFails)
{
    startPeer(false);
    const QString refused = run(ftpLogon);
    EXPECT_TRUE(refused.startsWith(QStringLiteral("141: 5"))) << refused.toStdString();
    EXPECT_EQ(commands(), QStringList{QStringLiteral("AUTH TLS")});

    run(ftpLogoff);
    m_peer.reset();
    QFile::remove(m_base.file(QStringLiteral("commands")));
    startPeer(true); // the test authority is not trusted this time
    EXPECT_EQ(run(ftpLogon),
        QStringLiteral("310: Secure connection to 127.0.0.1 failed: the server's certificate comes from an unknown "
                       "issuer."));
    EXPECT_EQ(commands(), QStringList{QStringLiteral("AUTH TLS")});
}

} // namespace
