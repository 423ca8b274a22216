#include "net/NetworkWait.h"
#include "net/TFTP.h"

#include "support/ErrorText.h"
#include "support/NetworkWatchdog.h"
#include "support/PeerProcess.h"
#include "support/TempBase.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTcpServer>
#include <QTimer>

#include <gtest/gtest.h>

// Readable failure messages for texts.
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace {

// A TFTP with its events written down, against a pyftpdlib server on 127.0.0.1.
class FtpExchange : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_ftp.setWinsockLoaded(true);
        m_ftp.setTransferMode(tmBinary);
        QObject::connect(&m_ftp, &TFTP::OnFirePITrail, [this](int direction, const QString& text) {
            static const char* prefixes[] = {"CLIENT: ", "SERVER: ", "INFO: "};
            m_trail << QString::fromLatin1(prefixes[direction]) + text;
        });
        QObject::connect(&m_ftp, &TFTP::OnError,
            [this](int code, const QString& text) { m_trail << QStringLiteral("ERR %1 %2").arg(code).arg(text); });
        QObject::connect(&m_ftp, &TFTP::OnDirList, [this](const QString& entry) { m_list << entry; });
        QObject::connect(&m_ftp, &TFTP::OnStartTransfer, [this] { m_trail << QStringLiteral("BEGIN"); });
        QObject::connect(&m_ftp, &TFTP::OnEndTransfer, [this] { m_trail << QStringLiteral("END"); });
    }

    void startPeer(QStringList options = {})
    {
        options << QStringLiteral("--root") << root() << QStringLiteral("--record")
                << m_base.file(QStringLiteral("commands")) << QStringLiteral("--lifetime") << QStringLiteral("100");
        m_peer = std::make_unique<PeerProcess>(QStringLiteral("ftp_peer.py"), options);
        ASSERT_TRUE(m_peer->started()) << m_peer->errors().toStdString();
        m_ftp.setRemoteHost(QStringLiteral("127.0.0.1:%1").arg(m_peer->port()));
        m_ftp.setUser(QStringLiteral("bob"));
        m_ftp.setPassword(QStringLiteral("secret"));
    }

    QString root() const { return m_base.file(QStringLiteral("root")); }
    // The command lines the server received, and "DATA <port>" for each data connection it made.
    QStringList commands() const
    {
        return QString::fromUtf8(m_base.read(QStringLiteral("commands"))).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

    // The message of the error the action raised, or "" when it succeeded.
    QString run(int action)
    {
        return errorText([&] { m_ftp.setAction(action); });
    }

    QString localFile(const QString& name, const QByteArray& content)
    {
        m_base.write(QStringLiteral("files/") + name, content);
        return m_base.file(QStringLiteral("files/") + name);
    }

    static QByteArray pattern(qsizetype size)
    {
        QByteArray data(size, Qt::Uninitialized);
        quint32 x = 12345;
        for (char& c : data) {
            x = x * 1103515245 + 12345;
            c = char(x >> 16);
        }
        return data;
    }

    TempBase m_base;
    NetworkWatchdog m_watchdog{90000};
    TFTP m_ftp;
    std::unique_ptr<PeerProcess> m_peer;
    QStringList m_trail;
    QStringList m_list;
};

TEST_F(FtpExchange, MultiLineGreetingIsOneReplyBeforeUser)
{
    startPeer({QStringLiteral("--greeting-lines"), QStringLiteral("2")});
    ASSERT_EQ(run(ftpLogon), QString());
    const QStringList expected{
        QStringLiteral("INFO: Connecting to FTP server."),
        QStringLiteral("INFO: Connected."),
        QStringLiteral("SERVER: 220-Greeting line 1 of the test server"),
        QStringLiteral("SERVER: 220-Greeting line 2 of the test server"),
        QStringLiteral("SERVER: 220 Test FTP server ready."),
        QStringLiteral("CLIENT: USER bob"),
        QStringLiteral("SERVER: 331 Username ok, send password."),
        QStringLiteral("CLIENT: PASS secret"),
        QStringLiteral("SERVER: 230 Login successful."),
        QStringLiteral("CLIENT: TYPE I"),
        QStringLiteral("SERVER: 200 Type set to: Binary."),
    };
    EXPECT_EQ(m_trail, expected);
    ASSERT_EQ(run(ftpLogoff), QString());
    EXPECT_EQ(m_trail.mid(expected.size()),
        (QStringList{QStringLiteral("CLIENT: QUIT"), QStringLiteral("SERVER: 221 Goodbye."),
            QStringLiteral("INFO: Disconnected.")}));
    EXPECT_FALSE(m_ftp.isConnected());
}

TEST_F(FtpExchange, WrongPasswordFailsWithTheServersLine)
{
    startPeer();
    m_ftp.setPassword(QStringLiteral("wrong"));
    EXPECT_EQ(run(ftpLogon), QStringLiteral("141: 530 Authentication failed."));
    EXPECT_EQ(m_ftp.ErrorCode(), 141);
    // The operation under setAction returns the same outcome without raising it.
    const NetResult refused = m_ftp.run(ftpLogon);
    EXPECT_EQ(refused.kind, NetResult::Kind::FtpReply);
    EXPECT_EQ(refused.message(), QStringLiteral("141: 530 Authentication failed."));
    // The connection stays for a second try with the right password.
    m_ftp.setPassword(QStringLiteral("secret"));
    EXPECT_EQ(run(ftpLogon), QString());
}

TEST_F(FtpExchange, UploadArrivesByteForByteThroughTheAnnouncedPort)
{
    startPeer();
    const QByteArray content = pattern(10 * 1024 * 1024 + 17);
    m_ftp.setLocalFile(localFile(QStringLiteral("big.bin"), content));
    m_ftp.setRemoteFile(QStringLiteral("big.bin"));
    qint64 lastCount = 0;
    QObject::connect(&m_ftp, &TFTP::OnTransfer, [&](qint64 count, const QByteArray& piece) {
        EXPECT_TRUE(piece.isEmpty());
        EXPECT_GT(count, lastCount);
        lastCount = count;
    });
    // Logs on by itself first.
    ASSERT_EQ(run(ftpUpload), QString()) << m_trail.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(lastCount, content.size());

    QFile arrived(root() + QStringLiteral("/big.bin"));
    ASSERT_TRUE(arrived.open(QIODevice::ReadOnly));
    EXPECT_TRUE(arrived.readAll() == content);

    // The PORT argument names this end's address and the port the server then connected to.
    const QStringList lines = commands();
    const qsizetype port = lines.indexOf(QRegularExpression(QStringLiteral("^PORT .*")));
    ASSERT_GE(port, 0);
    const QStringList numbers = lines[port].mid(5).split(QLatin1Char(','));
    ASSERT_EQ(numbers.size(), 6);
    EXPECT_EQ(numbers.mid(0, 4).join(QLatin1Char('.')), QStringLiteral("127.0.0.1"));
    EXPECT_EQ(lines[port + 1], QStringLiteral("DATA %1").arg(numbers[4].toInt() * 256 + numbers[5].toInt()));
    EXPECT_EQ(lines[port + 2], QStringLiteral("STOR big.bin"));
    EXPECT_EQ(m_trail.count(QStringLiteral("BEGIN")), 1);
    EXPECT_EQ(m_trail.count(QStringLiteral("END")), 1);
}

TEST_F(FtpExchange, TwoUploadsInOneLogonThenListAndFolders)
{
    startPeer();
    QDir(root()).mkpath(QStringLiteral("incoming"));
    ASSERT_EQ(run(ftpLogon), QString());
    EXPECT_EQ(m_ftp.RemotePath(), QStringLiteral("/"));
    m_ftp.setRemotePath(QStringLiteral("incoming"));
    EXPECT_EQ(m_ftp.RemotePath(), QStringLiteral("/incoming"));

    m_ftp.setLocalFile(localFile(QStringLiteral("a.txt"), "first file\r\n"));
    m_ftp.setRemoteFile(QStringLiteral("a.txt"));
    ASSERT_EQ(run(ftpUpload), QString());
    m_ftp.setLocalFile(localFile(QStringLiteral("b.zip"), pattern(70000)));
    m_ftp.setRemoteFile(QStringLiteral("b.zip"));
    ASSERT_EQ(run(ftpUpload), QString());
    EXPECT_EQ(m_base.read(QStringLiteral("root/incoming/a.txt")), QByteArray("first file\r\n"));
    EXPECT_EQ(m_base.read(QStringLiteral("root/incoming/b.zip")), pattern(70000));

    m_ftp.setRemoteFile(QString());
    ASSERT_EQ(run(ftpListDirectory), QString());
    m_list.sort();
    EXPECT_EQ(m_list, (QStringList{QStringLiteral("a.txt"), QStringLiteral("b.zip")}));

    // ".." goes up with CDUP.
    m_ftp.setRemotePath(QStringLiteral(".."));
    EXPECT_EQ(m_ftp.RemotePath(), QStringLiteral("/"));
    EXPECT_TRUE(commands().contains(QStringLiteral("CDUP")));
}

// A failed step says what kind of code it is: the server's reply, a local file, a value refused.
TEST_F(FtpExchange, ResultsCarryTheirKind)
{
    using Kind = NetResult::Kind;
    startPeer();
    m_ftp.setPassword(QStringLiteral("wrong"));
    EXPECT_FALSE(run(ftpLogon).isEmpty());
    EXPECT_EQ(m_ftp.result().kind, Kind::FtpReply);
    EXPECT_EQ(m_ftp.result().message(), QStringLiteral("141: 530 Authentication failed."));
    m_ftp.setPassword(QStringLiteral("secret"));
    ASSERT_EQ(run(ftpLogon), QString());
    EXPECT_EQ(m_ftp.result().kind, Kind::Ok);
    m_ftp.setRemoteFile(QStringLiteral("x.zip"));
    m_ftp.setLocalFile(m_base.file(QStringLiteral("files/missing.zip")));
    EXPECT_FALSE(run(ftpUpload).isEmpty());
    EXPECT_EQ(m_ftp.result().kind, Kind::File);
    m_ftp.setRemoteFile(QStringLiteral("a\nb"));
    EXPECT_FALSE(run(ftpUpload).isEmpty());
    EXPECT_EQ(m_ftp.result().kind, Kind::Client);
}

TEST_F(FtpExchange, LocalFileProblemsFailBeforeAnyPort)
{
    startPeer();
    ASSERT_EQ(run(ftpLogon), QString());
    m_ftp.setRemoteFile(QStringLiteral("x.zip"));
    m_ftp.setLocalFile(QString());
    EXPECT_EQ(run(ftpUpload), QStringLiteral("145: Please specify a local file for upload."));
    m_ftp.setLocalFile(m_base.file(QStringLiteral("files/missing.zip")));
    EXPECT_EQ(run(ftpUpload), QStringLiteral("145: Error reading from local file."));
    for (const QString& line : commands())
        EXPECT_FALSE(line.startsWith(QStringLiteral("PORT"))) << line.toStdString();
}

TEST_F(FtpExchange, LineBreakInAValueIsRefusedBeforeAnythingIsSent)
{
    startPeer();
    const QString smuggled = QStringLiteral("x\r\nDELE important.txt");
    m_ftp.setUser(smuggled);
    EXPECT_TRUE(run(ftpLogon).startsWith(QStringLiteral("146: ")));
    EXPECT_FALSE(m_ftp.isConnected());
    m_ftp.setUser(QStringLiteral("bob"));
    ASSERT_EQ(run(ftpLogon), QString());
    m_ftp.setLocalFile(localFile(QStringLiteral("a.txt"), "a"));
    m_ftp.setRemoteFile(QStringLiteral("a.txt\nDELE important.txt"));
    EXPECT_TRUE(run(ftpUpload).startsWith(QStringLiteral("146: ")));
    m_ftp.setRemoteFile(QString());
    EXPECT_THROW(m_ftp.setRemotePath(QStringLiteral("sub\rRMD x")), EFTP);
    for (const QString& line : commands()) {
        EXPECT_FALSE(line.startsWith(QStringLiteral("DELE")) || line.startsWith(QStringLiteral("RMD"))
            || line.startsWith(QStringLiteral("PORT")) || line.startsWith(QStringLiteral("STOR")))
            << line.toStdString();
    }
}

TEST_F(FtpExchange, RefusedConnection)
{
    quint16 closedPort = 0;
    {
        QTcpServer probe;
        ASSERT_TRUE(probe.listen(QHostAddress::LocalHost));
        closedPort = probe.serverPort();
    }
    m_ftp.setRemoteHost(QStringLiteral("127.0.0.1:%1").arg(closedPort));
    EXPECT_EQ(run(ftpLogon), QStringLiteral("10061: [10061] Connection refused."));
    EXPECT_TRUE(m_trail.contains(QStringLiteral("ERR 142 Failed to connect: Connection refused")));
    EXPECT_FALSE(m_ftp.isConnected());

    // The next host without a port of its own is on the standard one again.
    EXPECT_EQ(m_ftp.RemotePort(), closedPort);
    m_ftp.setRemoteHost(QStringLiteral("127.0.0.1"));
    EXPECT_EQ(m_ftp.RemotePort(), 21);
}

TEST_F(FtpExchange, ServerDroppingTheControlConnectionFailsTheUpload)
{
    startPeer({QStringLiteral("--drop-after"), QStringLiteral("300000")});
    m_ftp.setLocalFile(localFile(QStringLiteral("big.bin"), pattern(4 * 1024 * 1024)));
    m_ftp.setRemoteFile(QStringLiteral("big.bin"));
    EXPECT_NE(run(ftpUpload), QString());
    EXPECT_FALSE(m_ftp.isBusy());
    // The log-off finds the connection gone (its QUIT may fail) and leaves none behind; a new
    // logon works.
    run(ftpLogoff);
    EXPECT_FALSE(m_ftp.isConnected());
    m_ftp.setRemoteHost(QStringLiteral("127.0.0.1:%1").arg(m_peer->port()));
    EXPECT_EQ(run(ftpLogon), QString());
}

TEST_F(FtpExchange, AbortDuringAnUploadEndsItAndKeepsTheSession)
{
    startPeer({QStringLiteral("--throttle"), QStringLiteral("400000")});
    m_ftp.setLocalFile(localFile(QStringLiteral("big.bin"), pattern(8 * 1024 * 1024)));
    m_ftp.setRemoteFile(QStringLiteral("big.bin"));
    bool aborted = false;
    QString abortError;
    QObject::connect(&m_ftp, &TFTP::OnTransfer, [&](qint64 count, const QByteArray&) {
        if (count < 200000 || aborted)
            return;
        aborted = true;
        // As a Skip press would: from the event loop, while the upload waits.
        QTimer::singleShot(0, [&] {
            try {
                m_ftp.setAction(ftpAbort);
            } catch (const QuilletError& e) {
                abortError = e.message();
            }
        });
    });
    EXPECT_EQ(run(ftpUpload), QStringLiteral("301: Interrupted"));
    EXPECT_EQ(abortError, QString());
    const QStringList lines = commands();
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [](const QString& l) {
        return l.endsWith(QLatin1String("ABOR"));
    })) << lines.join(QLatin1Char('|')).toStdString();
    // The session goes on: the next command and the log-off work.
    EXPECT_EQ(m_ftp.RemotePath(), QStringLiteral("/"));
    EXPECT_EQ(run(ftpLogoff), QString());
}

TEST_F(FtpExchange, SecondAbortGivesUpOnAServerThatDoesNotAnswer)
{
    startPeer({QStringLiteral("--throttle"), QStringLiteral("400000"), QStringLiteral("--ignore-abort")});
    m_ftp.setLocalFile(localFile(QStringLiteral("big.bin"), pattern(8 * 1024 * 1024)));
    m_ftp.setRemoteFile(QStringLiteral("big.bin"));
    int aborts = 0;
    QStringList abortErrors;
    const auto abort = [&] {
        ++aborts;
        try {
            m_ftp.setAction(ftpAbort);
        } catch (const QuilletError& e) {
            abortErrors << e.message();
        }
    };
    bool scheduled = false;
    QObject::connect(&m_ftp, &TFTP::OnTransfer, [&](qint64 count, const QByteArray&) {
        if (count >= 200000 && !scheduled) {
            scheduled = true;
            QTimer::singleShot(0, &m_ftp, abort);
        }
    });
    // The second press comes while the first one's ABOR waits for its answer.
    QObject::connect(&m_ftp, &TFTP::OnFirePITrail, [&](int direction, const QString& text) {
        if (direction == 0 && text == QLatin1String("ABOR"))
            QTimer::singleShot(0, &m_ftp, abort);
    });
    EXPECT_EQ(run(ftpUpload), QStringLiteral("301: Interrupted"));
    EXPECT_EQ(aborts, 2);
    // The first abort's ABOR got no answer before the connection was closed; the server's answer to
    // the data connection's close, should it come while closing, is not one.
    EXPECT_EQ(abortErrors, QStringList{QStringLiteral("301: Interrupted")})
        << m_trail.join(QLatin1Char('|')).toStdString();
    EXPECT_FALSE(m_ftp.isConnected());
}

TEST_F(FtpExchange, SecondActionWhileOneRunsIsBusy)
{
    startPeer({QStringLiteral("--throttle"), QStringLiteral("6000000")});
    m_ftp.setLocalFile(localFile(QStringLiteral("big.bin"), pattern(16 * 1024 * 1024)));
    m_ftp.setRemoteFile(QStringLiteral("big.bin"));
    QString second;
    QObject::connect(&m_ftp, &TFTP::OnStartTransfer, [&] {
        QTimer::singleShot(0, [&] {
            try {
                m_ftp.setAction(ftpListDirectory);
            } catch (const QuilletError& e) {
                second = e.message();
            }
        });
    });
    EXPECT_EQ(run(ftpUpload), QString());
    EXPECT_EQ(second, QStringLiteral("143: Busy performing current action."));
    // A slow server fills the socket buffers: the partial sends moved the file back and nothing was lost.
    EXPECT_TRUE(m_base.read(QStringLiteral("root/big.bin")) == pattern(16 * 1024 * 1024));
}

} // namespace
