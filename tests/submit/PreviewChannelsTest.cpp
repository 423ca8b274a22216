// A preview's stand-in channels: what they write into the preview folder, that they stay within
// it, and that they fail as the clients they stand in for would.
#include "core/Errors.h"
#include "net/EHTTP.h"
#include "net/THTTP.h"
#include "net/TmsMessage.h"
#include "net/TmsSMTP.h"
#include "submit/HttpClientChannel.h"
#include "submit/PreviewFolder.h"
#include "submit/PreviewFtpChannel.h"
#include "submit/PreviewHttpChannel.h"
#include "submit/PreviewMailChannel.h"
#include "submit/SmtpClientChannel.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct Preview
{
    QTemporaryDir dir;
    PreviewFolder folder{dir.path()};
    QByteArray read(const QString& name) const
    {
        QFile f(dir.filePath(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(missing)");
    }
};

// The FTP form as the preview sees it: its boxes and flag, and what it was asked to show.
class RecordingForm : public FtpChannel
{
public:
    void setHost(const QString& host) override { boxes["host"] = host; }
    void setUser(const QString&) override { }
    void setPassword(const QString&) override { }
    void setLocalFile(const QString&) override { }
    void setRemoteFile(const QString& file) override { boxes["file"] = file; }
    void setRemotePath(const QString& path) override { boxes["path"] = path; }
    NetResult logon() override { return refuse("the form's own log-on ran"); }
    NetResult changeDirectory() override { return refuse("the form's own change of folder ran"); }
    NetResult upload() override { return refuse("the form's own upload ran"); }
    NetResult logoff() override { return refuse("the form's own log-off ran"); }
    bool failed() const override { return !failure.isEmpty(); }
    QString failureText() const override { return failure; }
    void clearFailure() override { failure.clear(); }
    void showLogon() override { shown << QStringLiteral("logon"); }
    void showTransfer(qint64 bytes) override { shown << QStringLiteral("transfer %1").arg(bytes); }
    void fail(const QString& prefix, const NetResult& result) override
    {
        failure = result.message();
        shown << prefix + failure;
    }
    static NetResult refuse(const char* what)
    {
        ADD_FAILURE() << what;
        return {};
    }

    QMap<QByteArray, QString> boxes;
    QString failure;
    QStringList shown;
};

struct FtpPathCase
{
    const char* name;
    QStringList folders; // changed to one after another once logged on
    const char* remoteFile;
    const char* expected; // under ftp/
};

TEST(PreviewFtpChannel, UploadsLandUnderTheHostAndTheWorkingFolderNeverAboveIt)
{
    const FtpPathCase cases[] = {
        {"root", {}, "a.zip", "files.example/a.zip"},
        {"nested", {QStringLiteral("uploads"), QStringLiteral("new")}, "a.zip", "files.example/uploads/new/a.zip"},
        {"up", {QStringLiteral("/incoming/x"), QStringLiteral("..")}, "a.zip", "files.example/incoming/a.zip"},
        {"absolute file", {QStringLiteral("uploads")}, "/pub/a.zip", "files.example/pub/a.zip"},
        {"escape by folder", {QStringLiteral("../../..")}, "a.zip", "files.example/a.zip"},
        {"escape by file", {}, "../../../etc/a.zip", "files.example/etc/a.zip"},
    };
    QTemporaryDir source;
    const QString local = source.filePath(QStringLiteral("local.zip"));
    const QByteArray content("PK\x03\x04 archive\r\n\0end", 20);
    {
        QFile f(local);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
    }
    for (const FtpPathCase& c : cases) {
        SCOPED_TRACE(c.name);
        Preview preview;
        RecordingForm form;
        PreviewFtpChannel ftp(form, preview.folder);
        ftp.setHost(QStringLiteral("ftps://files.example:1/"));
        ftp.setRemoteFile(QString());
        ftp.logon();
        EXPECT_EQ(form.boxes["path"], QStringLiteral("/"));
        for (const QString& folder : c.folders) {
            // The form's button joins its folder box and its file box.
            ftp.setRemotePath(folder);
            ftp.changeDirectory();
        }
        ftp.setLocalFile(local);
        ftp.setRemoteFile(QString::fromUtf8(c.remoteFile));
        ftp.upload();
        ftp.logoff();
        EXPECT_FALSE(form.failed()) << form.failure.toStdString();
        EXPECT_EQ(preview.read(QStringLiteral("ftp/") + QString::fromUtf8(c.expected)), content);
        EXPECT_EQ(preview.folder.written(), QStringList{QStringLiteral("ftp/") + QString::fromUtf8(c.expected)});
        EXPECT_EQ(form.shown, (QStringList{QStringLiteral("logon"), QStringLiteral("transfer 20")}));
    }
}

TEST(PreviewFtpChannel, FailsAsTheClientWouldAndWritesNothing)
{
    Preview preview;
    RecordingForm form;
    PreviewFtpChannel ftp(form, preview.folder);
    ftp.setHost(QStringLiteral("files.example"));
    ftp.setUser(QStringLiteral("anonymous\r\nDELE x"));
    EXPECT_EQ(ftp.logon().message(), form.failure);
    EXPECT_EQ(form.failure,
        QStringLiteral("146: A line break in the user name, password, folder or file name cannot go into an FTP "
                       "command."));
    ftp.clearFailure();
    ftp.setUser(QStringLiteral("anonymous"));
    ftp.logon();
    EXPECT_FALSE(form.failed());

    const struct
    {
        const char* localFile;
        const char* failure;
    } cases[] = {
        {"", "EXCEPTION: 145: Please specify a local file for upload."},
        {"/nonexistent/a.zip", "EXCEPTION: 145: Error reading from local file."},
        {".", "EXCEPTION: 145: Error reading from local file."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.localFile);
        form.shown.clear();
        ftp.setLocalFile(QString::fromUtf8(c.localFile));
        const NetResult result = ftp.upload();
        EXPECT_EQ(form.shown, QStringList{QString::fromUtf8(c.failure)});
        EXPECT_EQ(QStringLiteral("EXCEPTION: ") + result.message(), QString::fromUtf8(c.failure));
    }
    EXPECT_TRUE(preview.folder.written().isEmpty());
}

TEST(PreviewHttpChannel, RequestsAreNumberedAndCarryTheBodyAndTheAttachedFile)
{
    Preview preview;
    const QString attached = preview.dir.filePath(QStringLiteral("attached.bin"));
    {
        QFile f(attached);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("--tail--");
    }
    THTTP client;
    int ended = 0;
    QObject::connect(&client, &THTTP::OnEndTransfer, [&] { ++ended; });
    HttpClientChannel channel(client);
    PreviewHttpChannel http(channel, preview.folder);
    // Port 1 refuses connections: only a preview gets through.
    http.setTarget(
        QStringLiteral("http://127.0.0.1:1/cgi-bin/add.cgi"), QStringLiteral("application/x-www-form-urlencoded"));
    http.send(HttpChannel::Method::Post, "a=1&b=2");
    EXPECT_EQ(ended, 1);
    client.setAttachedFile(attached);
    http.send(HttpChannel::Method::Post, "a=1&b=2");
    http.send(HttpChannel::Method::Get, "ignored");
    const QByteArray first = preview.read(QStringLiteral("http/0001.req"));
    const QByteArray second = preview.read(QStringLiteral("http/0002.req"));
    const QByteArray third = preview.read(QStringLiteral("http/0003.req"));
    EXPECT_TRUE(first.startsWith("POST /cgi-bin/add.cgi HTTP/1.0\r\nHost: 127.0.0.1:1\r\n")) << first.constData();
    EXPECT_TRUE(first.endsWith("\r\n\r\na=1&b=2")) << first.constData();
    EXPECT_TRUE(first.contains("Content-Length: 7\r\n")) << first.constData();
    EXPECT_TRUE(second.endsWith("\r\n\r\na=1&b=2--tail--")) << second.constData();
    EXPECT_TRUE(second.contains("Content-Length: 15\r\n")) << second.constData();
    EXPECT_TRUE(third.startsWith("GET /cgi-bin/add.cgi HTTP/1.0\r\n")) << third.constData();
    EXPECT_TRUE(third.endsWith("\r\n\r\n")) << third.constData();

    // A missing file fails as a real post would, and writes nothing.
    client.setAttachedFile(preview.dir.filePath(QStringLiteral("gone.bin")));
    EXPECT_EQ(
        http.send(HttpChannel::Method::Post, "a=1").message(), QStringLiteral("302: Can't open file for reading."));
    client.setRaiseErrors(false);
    EXPECT_TRUE(http.send(HttpChannel::Method::Post, "a=1").ok());
    EXPECT_EQ(preview.folder.written().size(), 3);
}

TEST(PreviewMailChannel, MailsAreWrittenAsTheServerKeepsThemAndNothingIsSent)
{
    Preview preview;
    TmsSMTP client;
    TmsMessage message;
    SmtpClientChannel channel(client, message);
    PreviewMailChannel mail(channel, preview.folder);
    // Port 1 refuses connections: only a preview gets through.
    mail.takeSettings(QStringLiteral("127.0.0.1:1"), QStringLiteral("author@quillet.example"), QStringLiteral("A"));
    mail.setRecipient(QStringLiteral("desk@site.example"));
    mail.setSubject(QStringLiteral("New program"));
    mail.addBodyLine(QStringLiteral(".dotted"));
    EXPECT_TRUE(mail.send().ok());
    EXPECT_TRUE(mail.send().ok());
    const QByteArray first = preview.read(QStringLiteral("mail/0001.eml"));
    EXPECT_TRUE(first.contains("desk@site.example")) << first.constData();
    EXPECT_TRUE(first.contains("New program\r\n")) << first.constData();
    // Dots are unstuffed, as the server keeps the message.
    EXPECT_TRUE(first.contains("\r\n.dotted\r\n")) << first.constData();
    EXPECT_TRUE(first.endsWith("\r\n")) << first.constData();
    EXPECT_EQ(
        preview.folder.written(), (QStringList{QStringLiteral("mail/0001.eml"), QStringLiteral("mail/0002.eml")}));

    // A folder that cannot be written fails the send with the file's error.
    PreviewFolder nowhere(QStringLiteral("/proc/quillet-no-such-folder"));
    PreviewMailChannel refused(channel, nowhere);
    const NetResult failed = refused.send();
    EXPECT_EQ(failed.kind, NetResult::Kind::Program);
    EXPECT_TRUE(failed.text.startsWith(QStringLiteral("Cannot create file "))) << failed.text.toStdString();
}

} // namespace
