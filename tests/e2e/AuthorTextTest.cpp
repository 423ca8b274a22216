// What the author typed stays as typed: an archive site wraps the long texts only in the files it
// writes, run after run, and a program name as long as the file system allows is saved and sent.
#include "ProgramBase.h"
#include "support/PeerProcess.h"
#include "support/RecordedRequests.h"
#include "support/Text.h"

#include <QDir>

#include <gtest/gtest.h>

namespace {

class AuthorText : public ::testing::Test
{
protected:
    void startPeers()
    {
        http = std::make_unique<PeerProcess>(
            s("http_peer.py"), QStringList{s("--record"), base.file(s("received")), s("--lifetime"), s("90")});
        ASSERT_TRUE(http->started()) << http->errors().toStdString();
        QDir().mkpath(base.file(s("ftp/incoming")));
        ftp = std::make_unique<PeerProcess>(s("ftp_peer.py"),
            QStringList{s("--root"), base.file(s("ftp")), s("--record"), base.file(s("ftp.log")), s("--user"),
                s("Anonymous"), s("--password"), s("ann@demo.example"), s("--lifetime"), s("90")});
        ASSERT_TRUE(ftp->started()) << ftp->errors().toStdString();
        base.write(s("cat/catalogue.dat"), catalogueForPeers(http->port(), ftp->port()));
    }

    ProgramRecord record(const QString& name) const
    {
        ProgramRecord r;
        r.name = name;
        for (const auto& [k, v] : std::initializer_list<std::pair<const char*, const char*>>{{"conname", "Ann"},
                 {"conmail", "ann@demo.example"}, {"char8name", "demo"}, {"filename", "demo.zip"}, {"bytesize", "7"},
                 {"status", "Shareware"}, {"cswpd", "Archivers"}})
            r.fields[s(k)] = s(v);
        r.fields[s("localpath")] = base.file(s("prog/demo.exe"));
        r.longdesc = {kLong, s("Second paragraph.")};
        r.notes = {kLong + s(" Notes.")};
        r.ticked = {s("papanew"), s("cswnew")};
        return r;
    }

    const QString kLong = s("Demo sorts notes by date, by colour and by size, and prints them all across the desktop.");
    TempBase base;
    std::unique_ptr<PeerProcess> http;
    std::unique_ptr<PeerProcess> ftp;
};

} // namespace

TEST_F(AuthorText, ArchiveSiteWrapsOnlyItsFilesRunAfterRun)
{
    startPeers();
    base.write(s("prog/demo.exe"), "program");
    writeProgram(base, record(s("Demo")));
    const QByteArray lds = base.read(s("data/Demo.lds"));
    const QByteArray nts = base.read(s("data/Demo.nts"));

    for (int run = 1; run <= 2; ++run) {
        SCOPED_TRACE(run);
        const BatchResult r = runQuillet(base.path(), {s("--submit"), s("Demo")});
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        EXPECT_EQ(base.read(s("data/Demo.lds")), lds);
        EXPECT_EQ(base.read(s("data/Demo.nts")), nts);
        // The description file: the long line wrapped, each paragraph on its own.
        EXPECT_TRUE(
            base.read(s("files/demo.txt"))
                .contains("Description         :\r\nDemo sorts notes by date, by colour and by size, and prints "
                          "them all\r\nacross the desktop.\r\nSecond paragraph.\r\n"))
            << base.read(s("files/demo.txt")).constData();
    }
    // The form site after the archive site gets the text as typed, the same in both runs.
    const QList<RecordedRequest> sent = recordedRequests(base.file(s("received")));
    ASSERT_EQ(sent.size(), 2);
    EXPECT_EQ(sent[0].body, sent[1].body);
    EXPECT_TRUE(formDecoded(sent[0].body).contains("&LONG=" + kLong.toUtf8() + "\r\nSecond paragraph.&"))
        << formDecoded(sent[0].body).constData();
}

// A name that fits the file system as "<name>.dat" is saved, sent and reported, although the
// temporary files of the saves and the report's name would be longer.
TEST_F(AuthorText, LongestProgramNameIsSavedAndSubmitted)
{
    startPeers();
    base.write(s("prog/demo.exe"), "program");
    const QString name = QString(250, QLatin1Char('N'));
    ProgramRecord r = record(name);
    r.ticked = {s("cswnew")};
    writeProgram(base, r);
    const BatchResult result = runQuillet(base.path(), {s("--submit"), name});
    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_EQ(recordedRequests(base.file(s("received"))).size(), 1);
    EXPECT_TRUE(base.read(s("data/") + name + s(".dat")).contains("cswnew=1"));
    EXPECT_EQ(QDir(base.file(s("reports"))).entryList({s("N*.json")}, QDir::Files).size(), 1);
    EXPECT_TRUE(QDir(base.file(s("data"))).entryList({s(".quillet-*")}, QDir::Files | QDir::Hidden).isEmpty());
}
