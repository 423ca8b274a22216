// Batch runs against hostile peers and damaged files: a Windows-1252 description keeps its last
// byte, the report goes only where it may and says so when it cannot, a server's escape sequences
// reach the terminal inert, and an FTP log-on refused TLS fails its site once, with nothing in clear.
#include "ProgramBase.h"
#include "support/PeerProcess.h"

#include <gtest/gtest.h>

namespace {

QString s(const char* text)
{
    return QString::fromUtf8(text);
}

ProgramRecord lockergnome()
{
    ProgramRecord r{s("Caf"), {}, {s("A bag.")}, {s("lgnew")}};
    r.fields = {{s("conname"), s("Ann")}, {s("conmail"), s("ann@example.test")}, {s("char8name"), s("caf")},
        {s("bytesize"), s("1000")}, {s("appurl"), s("http://example.test/")}};
    return r;
}

class BatchHostile : public ::testing::Test
{
protected:
    void startHttp(const QStringList& extra = {})
    {
        http = std::make_unique<PeerProcess>(
            s("http_peer.py"), QStringList{s("--record"), base.file(s("received")), s("--lifetime"), s("60")} + extra);
        ASSERT_TRUE(http->started()) << http->errors().toStdString();
        base.write(s("cat/catalogue.dat"), catalogueForPeers(http->port()));
        writeProgram(base, lockergnome());
    }

    TempBase base;
    std::unique_ptr<PeerProcess> http;
};

TEST_F(BatchHostile, WindowsDescriptionEndingInAnAccentKeepsIt)
{
    startHttp();
    base.write(s("data/Caf.lds"), "A bag.\r\ncaf\xe9");
    const BatchResult r = runQuillet(base.path(), {s("--submit"), s("Caf")});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(base.read(s("data/Caf.lds")).startsWith("A bag.\r\ncaf\xe9"))
        << base.read(s("data/Caf.lds")).toStdString();
}

TEST_F(BatchHostile, ReportGoesOnlyWhereItMayAndSaysWhenItCannot)
{
    startHttp();
    base.write(s("notes.txt"), "a file, not a folder");
    struct Case
    {
        QString report;
        int exitCode;
        const char* message;
    };
    const Case cases[] = {
        {base.file(s("data/run.json")), 2, "cannot go into the base folder's data folder"},
        {base.file(s("cat/sub/run.json")), 2, "cannot go into the base folder's cat folder"},
        {base.file(s("files/../data/run.json")), 2, "cannot go into the base folder's data folder"},
        {base.file(s("notes.txt/run.json")), 2, "its folder cannot be written"},
        // Its folder cannot be made: the run goes, the report does not, and the status says so.
        {s("/proc/quillet-no-such-folder/run.json"), 1, "The report could not be written to"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.report.toStdString());
        const BatchResult r = runQuillet(base.path(), {s("--submit"), s("Caf"), s("--report"), c.report});
        EXPECT_EQ(r.exitCode, c.exitCode);
        EXPECT_TRUE(r.err.contains(s(c.message))) << r.err.toStdString();
    }
}

TEST_F(BatchHostile, EscapeSequencesOfAServerReachTheTerminalInert)
{
    startHttp({s("--status"), s("404 \x1b[2J\x1b]0;owned\x07 Gone")});
    const BatchResult r = runQuillet(base.path(), {s("--submit"), s("Caf")});
    EXPECT_EQ(r.exitCode, 3);
    const QString out = r.out.join(QLatin1Char('\n'));
    EXPECT_FALSE(out.contains(QChar(0x1b)) || out.contains(QChar(0x07))) << out.toStdString();
    EXPECT_TRUE(out.contains(s("404 \\x1b[2J\\x1b]0;owned\\x07 Gone"))) << out.toStdString();
}

TEST_F(BatchHostile, RefusedFtpTlsFailsTheSiteOnceWithNothingInClear)
{
    startHttp();
    PeerProcess ftp(s("hostile_peer.py"),
        {s("--mode"), s("ftp-refuse-tls"), s("--log"), base.file(s("ftp.log")), s("--lifetime"), s("60")});
    ASSERT_TRUE(ftp.started()) << ftp.errors().toStdString();
    base.write(s("cat/catalogue.dat"),
        catalogueForPeers(http->port()) + "[tucows]\r\nFTPHOST=ftps://127.0.0.1:" + QByteArray::number(ftp.port())
            + "\r\n");
    ProgramRecord record = lockergnome();
    record.ticked = {s("tucowsnewcb")};
    writeProgram(base, record);
    const BatchResult r = runQuillet(base.path(), {s("--submit"), s("Caf")});
    EXPECT_EQ(r.exitCode, 3) << r.err.toStdString();
    EXPECT_EQ(base.read(s("ftp.log")), QByteArray("AUTH TLS\n"));
    EXPECT_EQ(r.out.filter(s("534 No TLS here")).size(), 1) << r.out.join(QLatin1Char('\n')).toStdString();
}

} // namespace
