// The clients' dry run: what they write into the preview folder, and that they stay within it.
#include "net/DryRun.h"
#include "net/TFTP.h"
#include "net/THTTP.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// Switches the dry run on for one test and off again, whatever the test does.
struct Preview
{
    QTemporaryDir dir;
    Preview() { DryRun::setFolder(dir.path()); }
    ~Preview() { DryRun::setFolder(QString()); }
    QByteArray read(const QString& name) const
    {
        QFile f(dir.filePath(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(missing)");
    }
};

struct FtpPathCase
{
    const char* name;
    QStringList folders; // RemotePath set one after another once logged on
    const char* remoteFile;
    const char* expected; // under ftp/
};

TEST(DryRun, FtpUploadsLandUnderTheHostAndTheWorkingFolderNeverAboveIt)
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
    {
        QFile f(local);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray("PK\x03\x04 archive\r\n\0end", 20));
    }
    for (const FtpPathCase& c : cases) {
        SCOPED_TRACE(c.name);
        Preview preview;
        TFTP ftp;
        // Port 1 refuses connections: only a dry run gets through.
        ftp.setRemoteHost(QStringLiteral("files.example:1"));
        ftp.setAction(ftpLogon);
        EXPECT_TRUE(ftp.isConnected());
        for (const QString& folder : c.folders)
            ftp.setRemotePath(folder);
        ftp.setLocalFile(local);
        ftp.setRemoteFile(QString::fromUtf8(c.remoteFile));
        ftp.setAction(ftpUpload);
        ftp.setAction(ftpLogoff);
        EXPECT_EQ(preview.read(QStringLiteral("ftp/") + QString::fromUtf8(c.expected)),
            QByteArray("PK\x03\x04 archive\r\n\0end", 20));
    }
}

TEST(DryRun, HttpRequestsAreNumberedAndCarryTheBodyAndTheAttachedFile)
{
    Preview preview;
    const QString attached = preview.dir.filePath(QStringLiteral("attached.bin"));
    {
        QFile f(attached);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("--tail--");
    }
    THTTP http;
    http.setURL(QStringLiteral("http://127.0.0.1:1/cgi-bin/add.cgi"));
    http.setContentType(QStringLiteral("application/x-www-form-urlencoded"));
    http.setPostData("a=1&b=2");
    http.setAction(httpPost);
    EXPECT_EQ(http.StatusLine(), QStringLiteral("HTTP/1.0 200 OK"));
    http.setAttachedFile(attached);
    http.setAction(httpPost);
    const QByteArray first = preview.read(QStringLiteral("http/0001.req"));
    const QByteArray second = preview.read(QStringLiteral("http/0002.req"));
    EXPECT_TRUE(first.startsWith("POST /cgi-bin/add.cgi HTTP/1.0\r\n")) << first.constData();
    EXPECT_TRUE(first.endsWith("\r\n\r\na=1&b=2")) << first.constData();
    EXPECT_TRUE(first.contains("Content-Length: 7\r\n")) << first.constData();
    EXPECT_TRUE(second.endsWith("\r\n\r\na=1&b=2--tail--")) << second.constData();
    EXPECT_TRUE(second.contains("Content-Length: 15\r\n")) << second.constData();

    // A missing file fails as a real post would, and writes nothing.
    http.setRaiseErrors(false);
    http.setAttachedFile(preview.dir.filePath(QStringLiteral("gone.bin")));
    http.setAction(httpPost);
    EXPECT_EQ(http.ErrorCode(), 302);
    EXPECT_FALSE(QFile::exists(preview.dir.filePath(QStringLiteral("http/0003.req"))));
}

} // namespace
