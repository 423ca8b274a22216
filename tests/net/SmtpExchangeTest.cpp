#include "net/MailErrors.h"
#include "net/NetworkWait.h"
#include "net/TmsMessage.h"
#include "net/TmsSMTP.h"

#include "support/NetworkWatchdog.h"
#include "support/PeerProcess.h"
#include "support/TempBase.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTimeZone>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

namespace {

QByteArray dataFile(const QString& name)
{
    QFile file(QStringLiteral(QUILLET_TEST_DATA_DIR "/mail/") + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("missing ") + name.toUtf8();
}

class SmtpExchange : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_smtp = std::make_unique<TmsSMTP>();
        m_smtp->setWinsockLoaded(true);
        m_smtp->MailMessage = &m_message;
        QObject::connect(
            m_smtp.get(), &TagSocket::OnError, [this](QString& text) { m_events << QStringLiteral("error ") + text; });
        QObject::connect(m_smtp.get(), &TagSocket::OnClosed, [this] { m_events << QStringLiteral("closed"); });
        m_message.Sender = {QStringLiteral("Ann Author"), QStringLiteral("ann@author.example")};
        m_message.Recipients.Add(QStringLiteral("submit@site.example"));
        m_message.setSubject(QStringLiteral("Submit Widget"));
        m_message.Body = QStringList{QStringLiteral("Hello"), QStringLiteral("."), QStringLiteral(".x"),
            QStringLiteral("..y"), QString(), QStringLiteral("end")};
        m_message.Date = QDateTime(QDate(2026, 12, 7), QTime(11, 58, 2), QTimeZone(3600));
        m_message.MessageId = QStringLiteral("<20261207115802.1@author.example>");
    }

    std::unique_ptr<PeerProcess> startPeer(QStringList args)
    {
        args << QStringLiteral("--record") << m_base.file(QStringLiteral("mail")) << QStringLiteral("--lifetime")
             << QStringLiteral("90");
        auto peer = std::make_unique<PeerProcess>(QStringLiteral("smtp_peer.py"), args);
        EXPECT_TRUE(peer->started()) << peer->errors().toStdString();
        m_smtp->Server = QStringLiteral("127.0.0.1:%1").arg(peer->port());
        return peer;
    }

    QByteArrayList messages() const
    {
        QDir dir(m_base.file(QStringLiteral("mail")));
        QByteArrayList found;
        for (const QString& name : dir.entryList({QStringLiteral("*.req")}, QDir::Files, QDir::Name)) {
            QFile file(dir.filePath(name));
            if (file.open(QIODevice::ReadOnly))
                found << file.readAll();
        }
        return found;
    }

    QByteArray commands() const { return m_base.read(QStringLiteral("mail/commands.log")); }

    // The message of the error Send raised, or "" when it succeeded.
    QString send()
    {
        try {
            m_smtp->Send();
            return QString();
        } catch (const QuilletError& e) {
            return e.message();
        }
    }

    TempBase m_base;
    NetworkWatchdog m_watchdog{60000};
    TmsMessage m_message;
    std::unique_ptr<TmsSMTP> m_smtp;
    QStringList m_events;
};

} // namespace

// The message as the recipient reads it: header block, body lines starting with "." exactly as
// composed (dot-stuffed on the wire, unstuffed by the server), and one session per Send.
TEST_F(SmtpExchange, MessageArrivesByteForByte)
{
    auto peer = startPeer({});
    ASSERT_EQ(send(), QString());
    ASSERT_EQ(send(), QString());
    const QByteArrayList got = messages();
    ASSERT_EQ(got.size(), 2);
    EXPECT_EQ(got[0], dataFile(QStringLiteral("dots.eml")));
    EXPECT_EQ(got[1], got[0]);
    const QByteArray helo = "HELO " + m_smtp->LocalHostName.toLatin1() + "\r\n";
    const QByteArray session
        = helo + "MAIL FROM:<ann@author.example>\r\nRCPT TO:<submit@site.example>\r\nDATA\r\nQUIT\r\n";
    EXPECT_EQ(commands(), session + session);
    EXPECT_FALSE(m_smtp->Connected());
}

// A long entry is one piece shared by every mail that holds it, sent without a scan once known to
// need no stuffing: each mail still arrives as composed, lines starting with "." included.
TEST_F(SmtpExchange, LongSharedBodyArrivesAsComposedInEveryMail)
{
    auto peer = startPeer({});
    const QString dotted = QStringLiteral("line\r\n.dot\r\n").repeated(8000);
    const QString plain = QStringLiteral("plain line\r\n").repeated(8000);
    const QString entries[] = {dotted, plain, dotted, plain};
    for (const QString& entry : entries) {
        m_message.Body = QStringList{QStringLiteral("Head"), entry, QStringLiteral("end")};
        ASSERT_EQ(send(), QString());
    }
    const QByteArrayList got = messages();
    ASSERT_EQ(got.size(), 4);
    for (int i = 0; i < 4; ++i) {
        const QByteArray body = got[i].mid(got[i].indexOf("\r\n\r\n") + 4);
        EXPECT_TRUE(body == "Head\r\n" + entries[i].toUtf8() + "end\r\n\r\n") << i;
    }
}

// Text beyond ASCII in the body, the sender's name and the subject reads back exactly in a mail
// reader; every message has a date and an id of its own.
TEST_F(SmtpExchange, EightBitTextReadsBackExactly)
{
    auto peer = startPeer({});
    m_message.Date = QDateTime();
    m_message.MessageId.clear();
    m_message.Sender.Name = QStringLiteral("Zo\u00eb Caf\u00e9 \u20ac Software");
    const QString subject = QStringLiteral("Caf\u00e9 2.1 \u2014 new listing for a program with a long subject line");
    m_message.setSubject(subject);
    m_message.Body = QStringList{QStringLiteral("H\u00e9llo w\u00f6rld, 100 \u20ac"), QStringLiteral(".dot first"),
        QStringLiteral("plain = line")};
    ASSERT_EQ(send(), QString());
    ASSERT_EQ(send(), QString());
    const QStringList files = QDir(m_base.file(QStringLiteral("mail"))).entryList({QStringLiteral("*.req")});
    ASSERT_EQ(files.size(), 2);
    QStringList ids;
    for (const QString& file : files) {
        QProcess reader;
        reader.start(QStringLiteral("/usr/bin/python3"),
            {QStringLiteral(QUILLET_TEST_DATA_DIR "/mail/read_mail.py"), m_base.file(QStringLiteral("mail/") + file)});
        ASSERT_TRUE(reader.waitForFinished(20000));
        ASSERT_EQ(reader.exitCode(), 0) << reader.readAllStandardError().toStdString();
        const QJsonObject read = QJsonDocument::fromJson(reader.readAllStandardOutput()).object();
        EXPECT_EQ(read[QLatin1String("from_name")].toString(), m_message.Sender.Name);
        EXPECT_EQ(read[QLatin1String("from_address")].toString(), QStringLiteral("ann@author.example"));
        EXPECT_EQ(read[QLatin1String("subject")].toString(), subject);
        // The body's lines, then the empty line the session always sends before the closing dot.
        EXPECT_EQ(read[QLatin1String("body")].toString().toStdString(),
            (m_message.Body.join(QLatin1Char('\n')) + QStringLiteral("\n\n")).toStdString());
        EXPECT_EQ(read[QLatin1String("charset")].toString(), QStringLiteral("utf-8"));
        EXPECT_TRUE(read[QLatin1String("date_has_offset")].toBool());
        EXPECT_EQ(read[QLatin1String("defects")].toInt(), 0);
        ids << read[QLatin1String("message_id")].toString();
        EXPECT_TRUE(ids.last().startsWith(QLatin1Char('<')) && ids.last().endsWith(QStringLiteral("@author.example>")))
            << ids.last().toStdString();
    }
    EXPECT_NE(ids[0], ids[1]);
}

// A body line of 300 characters goes out quoted-printable in pieces of at most 65 characters.
TEST_F(SmtpExchange, LongLineArrivesQuotedPrintable)
{
    auto peer = startPeer({});
    QString line;
    for (int i = 0; line.size() < 300; ++i)
        line += QStringLiteral("word%1 ").arg(i % 10);
    line.truncate(300);
    m_message.Body = QStringList{line};
    ASSERT_EQ(send(), QString());
    const QByteArrayList got = messages();
    ASSERT_EQ(got.size(), 1);
    const qsizetype start = got[0].indexOf("\r\n\r\n") + 4;
    EXPECT_TRUE(got[0].left(start).endsWith("Content-Transfer-Encoding: quoted-printable\r\n\r\n"));
    QByteArrayList pieces = got[0].mid(start).split('\n');
    QByteArray joined;
    for (QByteArray piece : pieces) {
        piece.chop(piece.endsWith('\r') ? 1 : 0);
        EXPECT_LE(piece.size(), 66);
        joined += piece.endsWith('=') ? piece.chopped(1) : piece;
    }
    EXPECT_EQ(joined, line.toLatin1());
}

// A two-line greeting is one reply; a server refusing "HELO name" takes the bare "HELO"; a
// CR or LF in a value never starts a command of its own.
TEST_F(SmtpExchange, GreetingHeloFallbackAndLineBreaksInValues)
{
    auto peer = startPeer({QStringLiteral("--greeting-lines"), QStringLiteral("2"), QStringLiteral("--bare-helo")});
    m_message.Sender.Name = QStringLiteral("Ann\r\nBcc: evil@x.example");
    m_message.setSubject(QStringLiteral("Two\nlines"));
    m_message.Body = QStringList{QStringLiteral("Hi")};
    ASSERT_EQ(send(), QString());
    const QByteArray helo = "HELO " + m_smtp->LocalHostName.toLatin1() + "\r\n";
    const QByteArray mail = "MAIL FROM:<ann@author.example>\r\n";
    EXPECT_EQ(commands(), helo + "HELO\r\n" + mail + "RCPT TO:<submit@site.example>\r\nDATA\r\nQUIT\r\n");
    const QByteArrayList got = messages();
    ASSERT_EQ(got.size(), 1);
    EXPECT_TRUE(got[0].contains("\r\nFrom:     \"Ann  Bcc: evil@x.example\" <ann@author.example>\r\n"))
        << got[0].toStdString();
    EXPECT_TRUE(got[0].contains("\r\nSubject:  Two lines\r\n")) << got[0].toStdString();

    // An envelope address that would break its command is refused before connecting.
    const QByteArray before = commands();
    m_message.Recipients.Clear();
    m_message.Recipients.Add(QStringLiteral("submit@site.example>\r\nRCPT TO:<evil@x.example"));
    const QString refused = send();
    EXPECT_TRUE(refused.startsWith(QStringLiteral("The address"))) << refused.toStdString();
    EXPECT_EQ(commands(), before);
}

TEST_F(SmtpExchange, RejectedRecipientStopsTheSendAndStillQuits)
{
    auto peer = startPeer({QStringLiteral("--reject"), QStringLiteral("submit@site.example")});
    EXPECT_EQ(send(), QStringLiteral("550 5.1.1 <submit@site.example>: Recipient address rejected"));
    EXPECT_TRUE(commands().endsWith("RCPT TO:<submit@site.example>\r\nQUIT\r\n")) << commands().toStdString();
    EXPECT_TRUE(messages().isEmpty());

    // A handler that accepts the rejection lets the send go on to the next recipient.
    m_message.Recipients.Add(QStringLiteral("other@site.example"));
    QObject::connect(
        m_smtp.get(), &TmsSMTP::OnAddressRejected, [](const QString&, bool& accept, const QString&) { accept = true; });
    EXPECT_EQ(send(), QString());
    ASSERT_EQ(messages().size(), 1);
    EXPECT_TRUE(
        messages()[0].startsWith("X-Envelope-From: ann@author.example\r\nX-Envelope-To: other@site.example\r\n"));
}

TEST_F(SmtpExchange, SilentServerTimesOutAndCancelEndsAWait)
{
    auto peer = startPeer({QStringLiteral("--silent")});
    m_smtp->setTimeOut(1);
    EXPECT_EQ(send(), QStringLiteral("Operation timed out"));
    EXPECT_EQ(m_events, QStringList({QStringLiteral("closed"), QStringLiteral("error Operation timed out")}));
    EXPECT_FALSE(m_smtp->Connected());

    m_events.clear();
    m_smtp->setTimeOut(60);
    QTimer::singleShot(200, m_smtp.get(), [this] { m_smtp->Cancel(); });
    EXPECT_EQ(send(), QStringLiteral("Operation has been canceled"));
    EXPECT_EQ(m_events, QStringList({QStringLiteral("closed"), QStringLiteral("error Operation has been canceled")}));
}

// The encoded message never lands in the temporary folder, while it is sent or after, whether the
// send succeeds or not.
TEST_F(SmtpExchange, MessageNeverLandsOnDisk)
{
    auto peer = startPeer({QStringLiteral("--reject"), QStringLiteral("bad@site.example")});
    const QString temp = m_base.file(QStringLiteral("tmp"));
    QDir().mkpath(temp);
    const QByteArray previous = qgetenv("TMPDIR");
    qputenv("TMPDIR", temp.toLocal8Bit());
    QStringList seen;
    int sending = 0;
    QObject::connect(m_smtp.get(), &TmsSMTP::OnSending, [&] {
        ++sending;
        for (const QFileInfo& f : QDir(temp).entryInfoList(QDir::Files))
            seen << f.fileName();
    });
    EXPECT_EQ(send(), QString());
    m_message.Recipients.Add(QStringLiteral("bad@site.example"));
    EXPECT_NE(send(), QString());
    qputenv("TMPDIR", previous);
    EXPECT_EQ(sending, 2);
    EXPECT_TRUE(seen.isEmpty()) << seen.join(QLatin1Char(' ')).toStdString();
    EXPECT_TRUE(QDir(temp).entryList(QDir::Files).isEmpty());
}

TEST_F(SmtpExchange, ServerHangingUpIsAResetNotAnEmptyReply)
{
    auto peer = startPeer({QStringLiteral("--hang-up")});
    EXPECT_EQ(send(), QStringLiteral("[10054] Connection reset by peer"));
    EXPECT_FALSE(m_smtp->Connected());
}

TEST_F(SmtpExchange, ConnectionFailuresAndMissingProperties)
{
    struct Case
    {
        QString server;
        QString error;
    };
    // A port nothing listens on: the peer's, after it stopped.
    quint16 closedPort = 0;
    {
        auto peer = startPeer({});
        closedPort = peer->port();
    }
    const QList<Case> cases{
        {QStringLiteral("127.0.0.1:%1").arg(closedPort), QStringLiteral("[10061] Connection refused")},
        {QString(), QStringLiteral("Server property is required")},
        {QStringLiteral("no-such-host.invalid:25"), QStringLiteral("[11001] Host not found")},
    };
    for (const Case& c : cases) {
        m_smtp->Server = c.server;
        EXPECT_EQ(send(), c.error) << c.server.toStdString();
        EXPECT_FALSE(m_smtp->Connected());
    }
    auto peer = startPeer({});
    m_message.Sender.Address.clear();
    EXPECT_EQ(send(), QStringLiteral("The address of sender is required"));
    m_message.Sender.Address = QStringLiteral("ann@author.example");
    m_message.Recipients.Clear();
    m_message.Recipients.Add(QString());
    EXPECT_EQ(send(), QStringLiteral("At least one Recipient, CC or BCC must be entered"));
    EXPECT_TRUE(messages().isEmpty());
    EXPECT_TRUE(commands().endsWith("HELO " + m_smtp->LocalHostName.toLatin1() + "\r\nQUIT\r\n"));
}

TEST_F(SmtpExchange, TranscriptWrittenWhenTheClientGoes)
{
    auto peer = startPeer({});
    const QString log = m_base.file(QStringLiteral("transcript.log"));
    m_smtp->LogFileName = log;
    ASSERT_EQ(send(), QString());
    m_smtp.reset();
    const QByteArray transcript = m_base.read(QStringLiteral("transcript.log"));
    const QByteArrayList lines = transcript.split('\n');
    EXPECT_TRUE(transcript.startsWith("220 ")) << transcript.toStdString();
    EXPECT_TRUE(transcript.contains("\r\nDATA\r\n354 ")) << transcript.toStdString();
    EXPECT_TRUE(transcript.contains("\r\nSuppressing the message body\r\n\r\n.\r\n250 ")) << transcript.toStdString();
    EXPECT_FALSE(transcript.contains("Hello"));
    EXPECT_TRUE(transcript.endsWith("QUIT\r\n221 Bye\r\n")) << transcript.toStdString();
}
