#include "FormOnBase.h"

#include "app/ControlText.h"
#include "app/FormRunWindow.h"
#include "app/TftpForm1.h"
#include "batch/FtpClientChannel.h"
#include "net/NetworkWait.h"
#include "net/TFTP.h"
#include "submit/FtpUpload.h"
#include "submit/SiteReport.h"
#include "support/PeerProcess.h"
#include "ui/TFlatButton.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRegularExpression>
#include <QTimer>

inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace {

// The upload steps through the real driver form of a main window, against pyftpdlib.
class FtpUploadSteps : public MainWindowTest
{
protected:
    void SetUp() override
    {
        m_watchdog.setSingleShot(true);
        QObject::connect(&m_watchdog, &QTimer::timeout, [] { interruptNetworkWaits(); });
        m_watchdog.start(90000);
    }

    void startPeer(QStringList options = {})
    {
        options << QStringLiteral("--root") << base.file(QStringLiteral("server")) << QStringLiteral("--record")
                << base.file(QStringLiteral("commands")) << QStringLiteral("--user") << QStringLiteral("Anonymous")
                << QStringLiteral("--password") << QStringLiteral("me@example.com") << QStringLiteral("--lifetime")
                << QStringLiteral("100");
        m_peer = std::make_unique<PeerProcess>(QStringLiteral("ftp_peer.py"), options);
        ASSERT_TRUE(m_peer->started()) << m_peer->errors().toStdString();
        QDir(base.file(QStringLiteral("server"))).mkpath(QStringLiteral("incoming"));
    }

    QString host() const { return QStringLiteral("127.0.0.1:%1").arg(m_peer->port()); }
    QStringList commands() const
    {
        return QString::fromUtf8(base.read(QStringLiteral("commands"))).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }
    QString localFile(const QString& name, const QByteArray& content) const
    {
        base.write(QStringLiteral("files/") + name, content);
        return base.file(QStringLiteral("files/") + name);
    }
    QStringList logLines() const
    {
        QStringList lines;
        for (int i = 0; i < form.log()->count(); ++i)
            lines << form.log()->item(i)->text();
        return lines;
    }

    FormRunWindow window{form};
    QTimer m_watchdog;
    std::unique_ptr<PeerProcess> m_peer;
};

TEST_F(FtpUploadSteps, TwoFilesInOneLogonEachWithItsLine)
{
    startPeer();
    const QString zip = localFile(QStringLiteral("prog.zip"), QByteArray(100000, 'z'));
    const QString txt = localFile(QStringLiteral("prog.txt"), "description\r\n");
    FtpUpload ftp(window, *form.ftpForm1(), QStringLiteral("Simtel"));
    ftp.logon(QStringLiteral("Loging on"), host(), QStringLiteral("Anonymous"), QStringLiteral("me@example.com"), zip);
    ftp.changeDirectory(QStringLiteral("incoming"));
    ftp.upload(QString(), QStringLiteral("prog.zip"));
    EXPECT_TRUE(ftp.logResult(QStringLiteral("Simtel: Uploaded prog.zip to FTP")));
    // A local path as the name: only its last component reaches the server.
    ftp.upload(QStringLiteral("docs_"), QStringLiteral("C:\\work\\..\\../prog.txt"), txt);
    EXPECT_TRUE(ftp.logResult(QStringLiteral("Simtel: Uploaded prog.txt to FTP")));
    ftp.upload(QString(), QStringLiteral("../.."));
    EXPECT_FALSE(ftp.logResult(QStringLiteral("never")));
    ftp.logoff(QStringLiteral("logging off"));

    EXPECT_EQ(logLines(),
        (QStringList{QStringLiteral("Simtel: Uploaded prog.zip to FTP"),
            QStringLiteral("Simtel: Uploaded prog.txt to FTP"),
            QStringLiteral("Simtel: There was an FTP error: No file name to upload under: \"../..\"")}));
    EXPECT_EQ(base.read(QStringLiteral("server/incoming/prog.zip")), QByteArray(100000, 'z'));
    EXPECT_EQ(base.read(QStringLiteral("server/incoming/docs_prog.txt")), QByteArray("description\r\n"));
    const QStringList stors = commands().filter(QRegularExpression(QStringLiteral("^STOR")));
    EXPECT_EQ(stors, (QStringList{QStringLiteral("STOR prog.zip"), QStringLiteral("STOR docs_prog.txt")}));
    EXPECT_EQ(form.ftpstatus()->text(), QStringLiteral("Idle"));
    EXPECT_EQ(form.ftpForm1()->eRemotePath->text(), QStringLiteral("/incoming"));
    EXPECT_FALSE(form.ftperror());
    EXPECT_TRUE(form.ftplist()->count() > 0);
    EXPECT_TRUE(
        form.ftpForm1()->lTrace->findItems(QStringLiteral("CLIENT: STOR prog.zip"), Qt::MatchExactly).size() == 1);
    // The trace follows an upload a few times a second, and always shows where it ended.
    EXPECT_EQ(form.ftpForm1()->lTrace->findItems(QStringLiteral("TRANSFER: 100000 Bytes"), Qt::MatchExactly).size(), 1);
}

// What a run without the window reports to: the flag, its text and the run's trace.
class TraceHost : public FtpFormHost
{
public:
    bool ftperror() const override { return error; }
    void setFtperror(bool set) override { error = set; }
    const QString& ftperrortext() const override { return text; }
    void setFtperrortext(const QString& t) override { text = t; }
    QString caFile() const override { return {}; }
    void addFtpTrace(const QString& line) override { trace << line; }
    void clearFtpTrace() override { trace.clear(); }
    QStringList ftpTrace() const override { return trace; }
    void setFtpStatus(const QString&) override { }
    bool debugmode() const override { return false; }
    SiteReport& report() override { return SiteReport::nobody(); }

    bool error = false;
    QString text;
    QStringList trace;
};

// The channel without its form (a batch run's) does what the form does: the same commands reach the
// server, the run gets the same log lines and trace, and failures set the same flag and text.
TEST_F(FtpUploadSteps, ChannelWithoutTheFormDoesWhatTheFormDoes)
{
    startPeer();
    const QString zip = localFile(QStringLiteral("prog.zip"), QByteArray(70000, 'z'));
    const auto session = [&](FtpChannel& channel, const QString& password) {
        FtpUpload ftp(window, channel, QStringLiteral("Simtel"));
        ftp.logon(QStringLiteral("Loging on"), host(), QStringLiteral("Anonymous"), password, zip);
        ftp.changeDirectory(QStringLiteral("incoming"));
        ftp.upload(QString(), QStringLiteral("prog.zip"));
        ftp.logResult(QStringLiteral("Simtel: Uploaded prog.zip to FTP"));
        ftp.upload(QString(), QStringLiteral("../.."));
        ftp.logResult(QStringLiteral("never"));
        ftp.logoff(QStringLiteral("logging off"));
    };
    // Ports and times differ between two sessions; nothing else may.
    const auto steady = [](QStringList lines) {
        return lines.replaceInStrings(QRegularExpression(QStringLiteral("\\d+")), QStringLiteral("N"));
    };
    TFTP client;
    TraceHost host;
    FtpClientChannel channel(host, &client);
    for (const QString& password : {QStringLiteral("me@example.com"), QStringLiteral("wrong")}) {
        form.log()->clear();
        const qsizetype before = commands().size();
        session(*form.ftpForm1(), password);
        const QStringList formCommands = commands().mid(before);
        const QStringList formLog = logLines();
        const QStringList formTrace = steady(QStringList(controlText(form.ftplist()).split(QLatin1Char('\n'))));
        const bool formError = form.ftperror();
        const QString formText = form.ftperrortext();
        ASSERT_GE(formCommands.size(), 2);
        ASSERT_GT(formTrace.size(), 1);

        form.log()->clear();
        session(channel, password);
        EXPECT_EQ(steady(commands().mid(before + formCommands.size())), steady(formCommands)) << password.toStdString();
        EXPECT_EQ(logLines(), formLog);
        EXPECT_EQ(steady(host.trace), formTrace);
        EXPECT_EQ(host.error, formError);
        EXPECT_EQ(host.text, formText);
    }
}

TEST_F(FtpUploadSteps, FailedLogonGivesOneErrorLineAndTheNextSiteStartsClear)
{
    startPeer();
    const QString zip = localFile(QStringLiteral("prog.zip"), "zip");
    FtpUpload first(window, *form.ftpForm1(), QStringLiteral("Tucows"));
    first.logon(QStringLiteral("logging on"), host(), QStringLiteral("Anonymous"), QStringLiteral("wrong"), zip);
    EXPECT_TRUE(form.ftperror());
    EXPECT_EQ(form.ftperrortext(), QStringLiteral("141: 530 Authentication failed."));
    first.upload(QStringLiteral("uploads/"), QStringLiteral("prog.zip"));
    EXPECT_FALSE(first.logResult(QStringLiteral("Uploaded prog.zip to Tucows FTP")));
    first.logoff(QStringLiteral("logging off"));
    ASSERT_EQ(logLines().size(), 1);
    EXPECT_TRUE(logLines()[0].startsWith(QStringLiteral("Tucows: There was an FTP error: 141: 530 ")))
        << logLines()[0].toStdString();
    EXPECT_TRUE(form.ftpForm1()
                    ->lTrace->findItems(QStringLiteral("EXCEPTION: 141: 530 Authentication failed."), Qt::MatchExactly)
                    .size()
        >= 1);

    // Even if the log-off left the flag set, the next site's steps begin clear.
    form.setFtperror(true);
    FtpUpload second(window, *form.ftpForm1(), QStringLiteral("Papa"));
    second.logon(
        QStringLiteral("logging on"), host(), QStringLiteral("Anonymous"), QStringLiteral("me@example.com"), zip);
    second.upload(QString(), QStringLiteral("prog.zip"));
    EXPECT_TRUE(second.logResult(QStringLiteral("Papa: Uploaded prog.zip to FTP")));
    second.logoff(QStringLiteral("logging off"));
    EXPECT_EQ(logLines().last(), QStringLiteral("Papa: Uploaded prog.zip to FTP"));
}

TEST_F(FtpUploadSteps, SkipEndsTheUploadWithAnErrorLineAndTheStepsGoOn)
{
    startPeer({QStringLiteral("--throttle"), QStringLiteral("300000")});
    const QString big = localFile(QStringLiteral("big.zip"), QByteArray(6 * 1024 * 1024, 'b'));
    const QString small = localFile(QStringLiteral("small.txt"), "small");
    bool skipped = false;
    QObject::connect(form.ftpForm1()->FTP1, &TFTP::OnTransfer, [&](qint64 count, const QByteArray&) {
        if (count > 200000 && !skipped) {
            skipped = true;
            QTimer::singleShot(0, [&] { form.skip()->click(); });
        }
    });
    FtpUpload ftp(window, *form.ftpForm1(), QStringLiteral("Winsite"));
    ftp.logon(QStringLiteral("logging on"), host(), QStringLiteral("Anonymous"), QStringLiteral("me@example.com"), big);
    ftp.upload(QString(), QStringLiteral("big.zip"));
    EXPECT_FALSE(ftp.logResult(QStringLiteral("Winsite: Uploaded big.zip to FTP")));
    ftp.upload(QString(), QStringLiteral("small.txt"), small);
    EXPECT_TRUE(ftp.logResult(QStringLiteral("Winsite: Uploaded small.txt to FTP")));
    ftp.logoff(QStringLiteral("logging off"));

    EXPECT_TRUE(skipped);
    EXPECT_EQ(logLines(),
        (QStringList{QStringLiteral("Winsite: There was an FTP error: 301: Interrupted"),
            QStringLiteral("Winsite: Uploaded small.txt to FTP")}));
    EXPECT_EQ(base.read(QStringLiteral("server/small.txt")), QByteArray("small"));
    EXPECT_TRUE(commands().contains(QStringLiteral("QUIT")));
    EXPECT_FALSE(form.cancelflag());
}

TEST_F(FtpUploadSteps, DebugModeCapturesEachTransfersTrace)
{
    startPeer();
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(base.path()));
    form.setDebugmode(true);
    FtpUpload ftp(window, *form.ftpForm1(), QStringLiteral("Simtel"));
    // The listing after the log-on is a transfer too.
    ftp.logon(QStringLiteral("on"), host(), QStringLiteral("Anonymous"), QStringLiteral("me@example.com"),
        localFile(QStringLiteral("a.zip"), "a"));
    const QStringList captures = QDir(base.file(QStringLiteral("responses"))).entryList({QStringLiteral("*.txt")});
    ASSERT_EQ(captures.size(), 1);
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d{3,7}\\.txt$")).match(captures[0]).hasMatch());
    const QByteArray capture = base.read(QStringLiteral("responses/") + captures[0]);
    EXPECT_TRUE(capture.startsWith("TRANSFER BEGIN.\r\n")) << capture.constData();
    EXPECT_TRUE(capture.endsWith("TRANSFER END.\r\n"));

    // Without the folder, the capture fails with the general error message and the steps go on.
    QDir(base.file(QStringLiteral("responses"))).removeRecursively();
    ftp.upload(QString(), QStringLiteral("a.zip"));
    EXPECT_TRUE(ftp.logResult(QStringLiteral("Simtel: Uploaded a.zip to FTP")));
    ftp.logoff(QStringLiteral("off"));
    QDir::setCurrent(previous);
    ASSERT_FALSE(fake.shown.isEmpty());
    EXPECT_TRUE(
        fake.shown[0].startsWith(QStringLiteral("Cannot create file ") + base.file(QStringLiteral("responses/"))))
        << fake.shown[0].toStdString();
    EXPECT_EQ(logLines().last(), QStringLiteral("Simtel: Uploaded a.zip to FTP"));
}

} // namespace

namespace {

TEST_F(FtpUploadSteps, CancelAbortsTheUploadAndLeavesTheFlagForTheRun)
{
    startPeer({QStringLiteral("--throttle"), QStringLiteral("300000")});
    const QString big = localFile(QStringLiteral("big.zip"), QByteArray(4 * 1024 * 1024, 'b'));
    bool cancelled = false;
    QObject::connect(form.ftpForm1()->FTP1, &TFTP::OnTransfer, [&](qint64 count, const QByteArray&) {
        if (count > 100000 && !cancelled) {
            cancelled = true;
            QTimer::singleShot(0, [&] { form.cancel()->click(); });
        }
    });
    FtpUpload ftp(window, *form.ftpForm1(), QStringLiteral("Tucows"));
    ftp.logon(QStringLiteral("on"), host(), QStringLiteral("Anonymous"), QStringLiteral("me@example.com"), big);
    ftp.upload(QStringLiteral("incoming/"), QStringLiteral("big.zip"));
    EXPECT_FALSE(ftp.logResult(QStringLiteral("never")));
    ftp.logoff(QStringLiteral("off"));
    EXPECT_EQ(logLines(), QStringList{QStringLiteral("Tucows: There was an FTP error: 301: Interrupted")})
        << logLines().join(QLatin1Char('|')).toStdString() << fake.shown.join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(form.cancelflag());
    EXPECT_FALSE(form.ftpForm1()->FTP1->isConnected());
}

} // namespace

namespace {

// The sandbox's stand-in takes the recipes' anonymous log-ons and makes the folders they name.
TEST_F(FtpUploadSteps, SandboxStandInTakesAnonymousUploadsIntoNewFolders)
{
    PeerProcess sandbox(QStringLiteral("../../tools/sandbox-ftp.py"),
        {QStringLiteral("--root"), base.file(QStringLiteral("sandbox")), QStringLiteral("--lifetime"),
            QStringLiteral("60")});
    ASSERT_TRUE(sandbox.started()) << sandbox.errors().toStdString();
    const QString host = QStringLiteral("127.0.0.1:%1").arg(sandbox.port());
    const QString zip = localFile(QStringLiteral("prog.zip"), "zip");
    const QString tml = localFile(QStringLiteral("prog.tml"), "tml");

    FtpUpload tucows(window, *form.ftpForm1(), QStringLiteral("Tucows"));
    tucows.logon(QStringLiteral("on"), host, QStringLiteral("Anonymous"), QStringLiteral("me@example.com"), zip);
    tucows.setRemotePath(QStringLiteral("/"));
    tucows.upload(QStringLiteral("uploads/"), QStringLiteral("prog.zip"));
    EXPECT_TRUE(tucows.logResult(QStringLiteral("Uploaded prog.zip to Tucows FTP")));
    tucows.logoff(QStringLiteral("off"));

    FtpUpload winsite(window, *form.ftpForm1(), QStringLiteral("Winsite"));
    winsite.logon(QStringLiteral("on"), host, QStringLiteral("Anonymous"), QStringLiteral("me@example.com"), tml);
    winsite.changeDirectory(QStringLiteral("incoming"));
    winsite.upload(QStringLiteral("/uploads/win95/"), QStringLiteral("prog.tml"));
    EXPECT_TRUE(winsite.logResult(QStringLiteral("Winsite: Uploaded prog.tml to FTP")));
    winsite.logoff(QStringLiteral("off"));

    EXPECT_EQ(logLines(),
        (QStringList{
            QStringLiteral("Uploaded prog.zip to Tucows FTP"), QStringLiteral("Winsite: Uploaded prog.tml to FTP")}));
    EXPECT_EQ(base.read(QStringLiteral("sandbox/uploads/prog.zip")), QByteArray("zip"));
    EXPECT_EQ(base.read(QStringLiteral("sandbox/uploads/win95/prog.tml")), QByteArray("tml"));
    EXPECT_TRUE(QFileInfo(base.file(QStringLiteral("sandbox/incoming"))).isDir());
}

} // namespace
