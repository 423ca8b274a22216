// What a batch run reports of each ticked site: the report file, the exit status, and the re-send
// of the failed sites, against the recording HTTP and SMTP peers.
#include "ProgramBase.h"
#include "support/PeerProcess.h"
#include "support/RecordedRequests.h"
#include "support/Text.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

namespace {

ProgramRecord mixed(const QStringList& ticked)
{
    ProgramRecord r;
    r.name = s("Mixed Bag");
    for (const auto& [k, v] : std::initializer_list<std::pair<const char*, const char*>>{{"compname", "Demo Soft"},
             {"conname", "Ann Author"}, {"conmail", "ann@demo.example"}, {"char8name", "mixed10"},
             {"filename", "mixed10.zip"}, {"version", "1.0"}, {"day", "4"}, {"month", "7"}, {"year", "99"},
             {"bytesize", "1500000"}, {"shortdesc", "Mixed"}, {"wattackpd", "Misc.Non Web related Tools"},
             {"fkingpd", "Utilities"}, {"swjunkiepd", "No Such Category"}, {"cswpd", "Archivers"}})
        r.fields[s(k)] = s(v);
    r.longdesc = {s("A bag of things.")};
    r.ticked = ticked;
    return r;
}

struct Expected
{
    const char* entry;
    const char* outcome;
    const char* detail; // a part of the detail; empty: the detail is empty
};

QJsonObject readReport(const TempBase& base, const QString& name)
{
    return QJsonDocument::fromJson(base.read(name)).object();
}

void expectSites(const QJsonObject& report, std::initializer_list<Expected> expected)
{
    const QJsonArray sites = report.value(s("sites")).toArray();
    ASSERT_EQ(sites.size(), static_cast<qsizetype>(expected.size())) << QJsonDocument(report).toJson().toStdString();
    qsizetype i = 0;
    for (const Expected& e : expected) {
        const QJsonObject site = sites[i++].toObject();
        SCOPED_TRACE(e.entry);
        EXPECT_EQ(site.value(s("entry")).toString(), s(e.entry));
        EXPECT_EQ(site.value(s("outcome")).toString(), s(e.outcome));
        const QString detail = site.value(s("detail")).toString();
        if (*e.detail)
            EXPECT_TRUE(detail.contains(s(e.detail))) << detail.toStdString();
        else
            EXPECT_TRUE(detail.isEmpty()) << detail.toStdString();
    }
}

class BatchResults : public ::testing::Test
{
protected:
    void startPeers(const QStringList& httpExtra, const QStringList& smtpExtra = {},
        const QString& record = QStringLiteral("received"))
    {
        http = std::make_unique<PeerProcess>(
            s("http_peer.py"), QStringList{s("--record"), base.file(record), s("--lifetime"), s("90")} + httpExtra);
        ASSERT_TRUE(http->started()) << http->errors().toStdString();
        smtp = std::make_unique<PeerProcess>(
            s("smtp_peer.py"), QStringList{s("--record"), base.file(s("mail")), s("--lifetime"), s("90")} + smtpExtra);
        ASSERT_TRUE(smtp->started()) << smtp->errors().toStdString();
        base.write(s("cat/settings.dat"), mailSettingsFor(smtp->port(), "ann@demo.example", "Ann"));
    }
    void pointSitesAtPeer(const QMap<QString, QByteArray>& siteLines = {})
    {
        base.write(s("cat/catalogue.dat"), catalogueForPeers(http->port(), 0, siteLines));
    }

    TempBase base;
    std::unique_ptr<PeerProcess> http;
    std::unique_ptr<PeerProcess> smtp;
};

} // namespace

TEST_F(BatchResults, EveryTickedSiteHasItsOutcomeAndTheFailedOnesAreSentAgain)
{
    writeProgram(base,
        mixed({s("essennew"), s("galtnew"), s("shareinnew"), s("fkingnew"), s("lgnew"), s("swjunkienew"), s("cswnew"),
            s("wattacknew")}));
    startPeers({s("--route"), s("/cgi-bin/formmail.cgi=404 Not Found"), s("--hang"), s("/cgi/FormMail.cgi")});
    // sharein's host refuses connections.
    pointSitesAtPeer({{s("sharein"), "HOST=127.0.0.1:1\r\n"}});

    const BatchResult first = runQuillet(base.path(),
        {s("--submit"), s("Mixed Bag"), s("--timeout"), s("2"), s("--report"), base.file(s("first.json"))});
    EXPECT_EQ(first.exitCode, 3) << first.err.toStdString();
    EXPECT_TRUE(first.err.contains(s("Mixed Bag: 3 sent, 2 failed, 1 skipped, 2 refused"))) << first.err.toStdString();
    // The specified log lines stay; the time-out adds its own line, under the site the run named.
    EXPECT_TRUE(first.out.contains(s("Web Attack only allows web-releated apps.  Not Sent.")));
    EXPECT_TRUE(first.out.contains(s("File King: Timed out: no progress for 2 seconds")))
        << first.out.join(s("\n")).toStdString();
    const QJsonObject report = readReport(base, s("first.json"));
    EXPECT_EQ(report.value(s("program")).toString(), s("Mixed Bag"));
    EXPECT_EQ(report.value(s("version")).toString(), s("1.0"));
    expectSites(report,
        {{"essen", "sent", ""}, {"galt", "sent", ""}, {"sharein", "failed", "Error Posting - "},
            {"fking", "skipped", "Timed out: no progress for 2 seconds"}, {"lg", "failed", "404"},
            {"swjunkie", "refused", "No form page for the category"}, {"csw", "sent", ""},
            {"wattack", "refused", "Web Attack only allows"}});
    const QJsonObject sharein = report.value(s("sites")).toArray()[2].toObject();
    EXPECT_EQ(sharein.value(s("step")).toString(), s("HTTP request"));
    EXPECT_EQ(sharein.value(s("channels")).toArray(), QJsonArray{s("HTTP")});

    // A fresh peer that answers everything, sharein reachable: only the three failed sites go.
    http.reset();
    smtp.reset();
    startPeers({}, {}, s("again"));
    pointSitesAtPeer();
    const QByteArray storedRecord = base.read(s("data/Mixed Bag.dat"));
    const BatchResult retry = runQuillet(base.path(),
        {s("--submit"), s("Mixed Bag"), s("--retry-failed"), base.file(s("first.json")), s("--report"),
            base.file(s("retry.json"))});
    EXPECT_EQ(retry.exitCode, 0) << retry.err.toStdString();
    expectSites(
        readReport(base, s("retry.json")), {{"sharein", "sent", ""}, {"fking", "sent", ""}, {"lg", "sent", ""}});
    EXPECT_EQ(recordedRequests(base.file(s("again"))).size(), 3);
    // The record keeps every box the author ticked for the next plain run.
    EXPECT_EQ(base.read(s("data/Mixed Bag.dat")), storedRecord);
}

// The mail server refuses every connection: each mail site fails with the reason, every form post
// and upload still goes, and the run completes.
TEST_F(BatchResults, MailServerDownFailsOnlyTheMailSites)
{
    writeProgram(base, mixed({s("tucowsnewcb"), s("essennew"), s("galtnew"), s("pow95new"), s("cswnew")}));
    startPeers({});
    QDir().mkpath(base.file(s("ftp/uploads")));
    PeerProcess ftp(s("ftp_peer.py"),
        {s("--root"), base.file(s("ftp")), s("--record"), base.file(s("ftp.log")), s("--user"), s("Anonymous"),
            s("--password"), s("ann@demo.example"), s("--lifetime"), s("90")});
    ASSERT_TRUE(ftp.started()) << ftp.errors().toStdString();
    base.write(s("cat/catalogue.dat"), catalogueForPeers(http->port(), ftp.port()));
    base.write(s("cat/settings.dat"), mailSettingsFor(1, "ann@demo.example", "Ann"));

    const BatchResult r = runQuillet(base.path(), {s("--submit"), s("Mixed Bag")});
    EXPECT_EQ(r.exitCode, 3) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(s("Shareware Submission is complete"))) << r.err.toStdString();
    const QStringList reports = QDir(base.file(s("reports"))).entryList({s("Mixed Bag *.json")}, QDir::Files);
    ASSERT_EQ(reports.size(), 1);
    const QJsonObject report = readReport(base, s("reports/") + reports[0]);
    expectSites(report,
        {{"tucows", "sent", ""}, {"pow95", "failed", "Error sending mail - [10061] Connection refused"},
            {"essen", "sent", ""}, {"galt", "failed", "Error sending mail - [10061] Connection refused"},
            {"csw", "sent", ""}});
    EXPECT_EQ(report.value(s("sites")).toArray()[1].toObject().value(s("step")).toString(), s("mail send"));
    EXPECT_EQ(base.read(s("ftp/uploads/mixed10.zip")), base.read(s("files/Mixed Bag.zip")));
    EXPECT_EQ(recordedRequests(base.file(s("received"))).size(), 3);
}

// A ticked site whose endpoint is still the built-in placeholder: nothing goes to it, the log says
// which key is missing, the run exits 3, and a retry sends it once it is set up.
TEST_F(BatchResults, SitesNotSetUpAreNotSentAndARetrySendsThem)
{
    writeProgram(base, mixed({s("tucowsnewcb"), s("essennew"), s("pow95new")}));
    startPeers({});
    // A site of one's own whose address is still a stand-in is not set up either (its tick ends
    // the record's last section).
    base.write(s("data/Mixed Bag.dat"), base.read(s("data/Mixed Bag.dat")) + "Ownnew=1\r\n");
    base.write(s("cat/sites/own.site"),
        "[site]\nKEY=Own\nLABEL=Own Site\nCHANNEL=form\nURL=http://submit.own.example/add.cgi\n"
        "[fields]\ntitle={appname}\n");
    const QByteArray essen = "[essen]\r\nMAILBOX=tes@essen.test\r\nMAILBOX2=suggest@essen.test\r\n";
    base.write(s("cat/catalogue.dat"), "[ALL]\r\nHOST=127.0.0.1:" + QByteArray::number(http->port()) + "\r\n" + essen);
    const BatchResult first = runQuillet(base.path(),
        {s("--submit"), s("Mixed Bag"), s("--timeout"), s("5"), s("--report"), base.file(s("first.json"))});
    EXPECT_EQ(first.exitCode, 3) << first.err.toStdString();
    EXPECT_TRUE(first.err.contains(s("Mixed Bag: 1 sent, 0 failed, 0 skipped, 3 not set up")))
        << first.err.toStdString();
    EXPECT_TRUE(first.out.contains(s("TuCows: not set up: FTPHOST in [tucows] or [ALL] of cat/catalogue.dat (still the "
                                     "built-in placeholder)")))
        << first.out.join(s("\n")).toStdString();
    expectSites(readReport(base, s("first.json")),
        {{"tucows", "not set up", "FTPHOST in [tucows] or [ALL]"},
            {"pow95", "not set up", "MAILBOX in [pow95] of cat/catalogue.dat"}, {"essen", "sent", ""},
            {"Own", "not set up", "URL in cat/sites/own.site (still a placeholder under .example)"}});
    EXPECT_EQ(recordedRequests(base.file(s("received"))).size(), 1);
    EXPECT_TRUE(QDir(base.file(s("mail"))).entryList({s("*.req")}, QDir::Files).isEmpty());

    base.write(s("cat/catalogue.dat"),
        "[ALL]\r\nHOST=127.0.0.1:" + QByteArray::number(http->port()) + "\r\n" + essen
            + "[pow95]\r\nMAILBOX=listings@pow95.test\r\n");
    const BatchResult retry = runQuillet(base.path(),
        {s("--submit"), s("Mixed Bag"), s("--retry-failed"), base.file(s("first.json")), s("--report"),
            base.file(s("retry.json"))});
    EXPECT_EQ(retry.exitCode, 3) << retry.err.toStdString();
    expectSites(readReport(base, s("retry.json")),
        {{"tucows", "not set up", "FTPHOST"}, {"pow95", "sent", ""}, {"Own", "not set up", "URL"}});
    EXPECT_EQ(QDir(base.file(s("mail"))).entryList({s("*.req")}, QDir::Files).size(), 1);
}
