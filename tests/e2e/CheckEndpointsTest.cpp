// "quillet --check-endpoints [NAME]": the table it prints and how it ends, against the recording
// peers, a refused port and sites that are not set up.
#include "ProgramBase.h"
#include "support/PeerProcess.h"
#include "support/Text.h"

#include <QDir>

#include <gtest/gtest.h>

namespace {

class CheckEndpoints : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QDir().mkpath(base.file(s("ftp")));
        for (auto* peer : {&http, &ftp, &smtp})
            ASSERT_TRUE(peer->started()) << peer->errors().toStdString();
        base.write(s("cat/settings.dat"), mailSettingsFor(smtp.port(), "ann@demo.example", "Ann"));
    }
    // The output line of a site's endpoint.
    QString lineOf(const BatchResult& result, const QString& label, const QString& endpoint) const
    {
        for (const QString& line : result.out) {
            if (line.startsWith(label + QLatin1Char(' ')) && line.contains(endpoint))
                return line;
        }
        return {};
    }

    TempBase base;
    PeerProcess http{s("http_peer.py"), {s("--record"), base.file(s("received")), s("--lifetime"), s("60")}};
    PeerProcess ftp{s("ftp_peer.py"),
        {s("--root"), base.file(s("ftp")), s("--record"), base.file(s("ftp-commands")), s("--lifetime"), s("60")}};
    PeerProcess smtp{s("smtp_peer.py"), {s("--record"), base.file(s("mail")), s("--lifetime"), s("60")}};
};

} // namespace

TEST_F(CheckEndpoints, EveryConfiguredEndpointIsTriedAndNothingIsSent)
{
    const QByteArray ftpPort = QByteArray::number(ftp.port());
    base.write(s("cat/catalogue.dat"),
        "[ALL]\r\nHOST=127.0.0.1:" + QByteArray::number(http.port()) + "\r\n[tucows]\r\nFTPHOST=127.0.0.1:" + ftpPort
            + "\r\n[papa]\r\nFTPHOST=127.0.0.1:1\r\n");
    // A site of one's own is checked like a catalogue site.
    base.write(s("cat/sites/own.site"),
        "[site]\nKEY=Own\nLABEL=Own Site\nCHANNEL=form\nURL=http://127.0.0.1:" + QByteArray::number(http.port())
            + "/add.cgi\n[fields]\ntitle={appname}\n");
    const BatchResult result = runQuilletAsTyped(base.path(), {s("--check-endpoints"), s("--timeout"), s("5")});
    EXPECT_EQ(result.exitCode, 3) << result.err.toStdString();
    ASSERT_FALSE(result.out.isEmpty());
    EXPECT_TRUE(result.out.first().startsWith(s("Site "))) << result.out.first().toStdString();
    const struct
    {
        const char* label;
        QString endpoint;
        const char* result;
    } rows[] = {
        {"TuCows", s("FTP 127.0.0.1:") + QString::number(ftp.port()), "reachable in "},
        {"Papa WinSock-L FTP Archive", s("FTP 127.0.0.1:1"), "[10061] Connection refused."},
        {"The Essential Shareware Pages", s("web 127.0.0.1:") + QString::number(http.port()), "reachable in "},
        {"Mail server", s("SMTP 127.0.0.1:") + QString::number(smtp.port()), "reachable in "},
        {"Own Site", s("web http://127.0.0.1:") + QString::number(http.port()), "reachable in "},
    };
    for (const auto& row : rows) {
        const QString line = lineOf(result, s(row.label), row.endpoint);
        EXPECT_TRUE(line.contains(s(row.result))) << row.label << ": " << result.out.join(s("\n")).toStdString();
    }
    // Sites whose FTP host is still the placeholder are not configured, so not tried.
    EXPECT_TRUE(lineOf(result, s("Simtel"), s("FTP")).isEmpty());
    // Nothing was posted, uploaded or mailed.
    EXPECT_TRUE(QDir(base.file(s("received"))).entryList(QDir::Files).isEmpty());
    EXPECT_TRUE(QDir(base.file(s("mail"))).entryList({s("*.req")}, QDir::Files).isEmpty());
    EXPECT_TRUE(QDir(base.file(s("ftp"))).entryList(QDir::Files).isEmpty());
}

TEST_F(CheckEndpoints, AProgramsTickedSitesIncludingThoseNotSetUp)
{
    ProgramRecord record;
    record.name = s("Check Me");
    record.fields[s("appname")] = record.name;
    record.ticked = {s("essennew"), s("tucowsnewcb"), s("pow95new")};
    writeProgram(base, record);
    base.write(s("cat/catalogue.dat"), "[ALL]\r\nHOST=127.0.0.1:" + QByteArray::number(http.port()) + "\r\n");
    const BatchResult result = runQuilletAsTyped(base.path(), {s("--check-endpoints"), s("Check Me")});
    EXPECT_EQ(result.exitCode, 3) << result.err.toStdString();
    // TuCows posts a form after its upload; the essential pages' form names the site's two mailboxes.
    EXPECT_EQ(result.out.size(), 8) << result.out.join(s("\n")).toStdString();
    EXPECT_TRUE(lineOf(result, s("The Essential Shareware Pages"), s("web ")).contains(s("reachable in ")));
    EXPECT_TRUE(lineOf(result, s("TuCows"), s("FTP ftp.tucows.example"))
                    .contains(s("not set up: FTPHOST in [tucows] or [ALL] of cat/catalogue.dat")));
    EXPECT_TRUE(lineOf(result, s("Pell Orvane's Win95 Page"), s("mailbox submit@pow95.example"))
                    .contains(s("not set up: MAILBOX in [pow95]")));
    EXPECT_TRUE(lineOf(result, s("The Essential Shareware Pages"), s("mailbox listings@essen.example"))
                    .contains(s("not set up: MAILBOX2 in [essen]")));
    EXPECT_TRUE(lineOf(result, s("Mail server"), s("SMTP ")).contains(s("reachable in ")));

    // Once set up, every one is reachable.
    base.write(s("cat/catalogue.dat"),
        "[ALL]\r\nHOST=127.0.0.1:" + QByteArray::number(http.port())
            + "\r\nFTPHOST=127.0.0.1:" + QByteArray::number(ftp.port())
            + "\r\n[pow95]\r\nMAILBOX=listings@pow95.test\r\n[essen]\r\nMAILBOX=tes@essen.test\r\nMAILBOX2=suggest@"
              "essen.test\r\n");
    const BatchResult again = runQuilletAsTyped(base.path(), {s("--check-endpoints"), s("Check Me")});
    EXPECT_EQ(again.exitCode, 0) << again.out.join(s("\n")).toStdString();

    const BatchResult unknown = runQuilletAsTyped(base.path(), {s("--check-endpoints"), s("No Such")});
    EXPECT_EQ(unknown.exitCode, 2);
    EXPECT_TRUE(unknown.err.contains(s("No program named \"No Such\""))) << unknown.err.toStdString();
}
