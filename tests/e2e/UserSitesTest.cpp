// Sites of one's own (cat/sites/*.site) in batch runs against the recording peers: each channel's
// bytes, together with built-in sites, a failure, a time-out, a refused definition, the preview
// and the re-send of the failed ones. Definitions and expected bytes: tests/data/user_sites.
#include "ProgramBase.h"
#include "submit/RunReport.h"
#include "support/PeerProcess.h"
#include "support/RecordedRequests.h"
#include "support/Text.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {

const QString Data = QStringLiteral(QUILLET_TEST_DATA_DIR "/user_sites/");

QByteArray dataFile(const QString& name)
{
    QFile f(Data + name);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << name.toStdString();
    return f.readAll();
}

// Ports as "@HTTP@" / "@FTP@", FTP data ports, the mail's date and id blanked.
QByteArray normalized(QByteArray bytes, quint16 http, quint16 ftp)
{
    bytes.replace("127.0.0.1:" + QByteArray::number(http), "127.0.0.1:@HTTP@");
    bytes.replace("127.0.0.1:" + QByteArray::number(ftp), "127.0.0.1:@FTP@");
    QString text = QString::fromLatin1(bytes);
    static const QRegularExpression dateLine(QStringLiteral("(?m)^(Date|Message-ID): [^\\r]*"));
    static const QRegularExpression dataPort(QStringLiteral("(?m)^(PORT|DATA) [0-9,]+"));
    text.replace(dateLine, QStringLiteral("\\1: {date}")).replace(dataPort, QStringLiteral("\\1 {port}"));
    return text.toLatin1();
}

ProgramRecord program(const QStringList& ticked)
{
    ProgramRecord r;
    r.name = s("Own Pad");
    for (const auto& [k, v] : std::initializer_list<std::pair<const char*, const char*>>{{"compname", "Pad & Co"},
             {"conname", "Zo\u00eb Author"}, {"conmail", "zoe@pad.example"}, {"char8name", "ownpad"},
             {"filename", "ownpad10.zip"}, {"version", "1.0"}, {"day", "4"}, {"month", "7"}, {"year", "99"},
             {"bytesize", "20480"}, {"platforms", "Windows 95 and NT"}, {"status", "Freeware"}, {"shortdesc", "A pad"}})
        r.fields[s(k)] = s(v);
    r.longdesc = {s("First line = 100%"), s("Second line.")};
    r.ticked = ticked;
    return r;
}

class UserSites : public ::testing::Test
{
protected:
    void SetUp() override
    {
        http = std::make_unique<PeerProcess>(s("http_peer.py"),
            QStringList{s("--record"), base.file(s("received")), s("--lifetime"), s("120"), s("--route"),
                s("/own/fail.cgi=500 Internal Server Error"), s("--hang"), s("/own/slow.cgi")});
        ASSERT_TRUE(http->started()) << http->errors().toStdString();
        smtp = std::make_unique<PeerProcess>(
            s("smtp_peer.py"), QStringList{s("--record"), base.file(s("mail")), s("--lifetime"), s("120")});
        ASSERT_TRUE(smtp->started()) << smtp->errors().toStdString();
        QDir().mkpath(base.file(s("ftp/incoming")));
        ftp = std::make_unique<PeerProcess>(s("ftp_peer.py"),
            QStringList{s("--root"), base.file(s("ftp")), s("--record"), base.file(s("ftp.log")), s("--user"),
                s("Anonymous"), s("--password"), s("zoe@pad.example"), s("--lifetime"), s("120")});
        ASSERT_TRUE(ftp->started()) << ftp->errors().toStdString();
        base.write(s("cat/catalogue.dat"), catalogueForPeers(http->port(), ftp->port()));
        base.write(s("cat/settings.dat"), mailSettingsFor(smtp->port(), "zoe@pad.example", "Zoe"));
        for (const QString& name : QDir(Data).entryList({s("*.site")}, QDir::Files)) {
            QByteArray text = dataFile(name);
            text.replace("@HTTP@", QByteArray::number(http->port())).replace("@FTP@", QByteArray::number(ftp->port()));
            base.write(s("cat/sites/") + name, text);
        }
        writeProgram(base,
            program({s("essennew"), s("galtnew"), s("Ownformnew"), s("Owngetup"), s("Ownmailnew"), s("Ownftpnew"),
                s("Ownfailnew"), s("Ownslownew")}));
    }

    // The record as the window keeps it: the built-in boxes, then those of the sites of one's own.
    void tickOwn(const QStringList& boxes)
    {
        QByteArray record = base.read(s("data/Own Pad.dat"));
        for (const QString& box : boxes)
            record += box.toUtf8() + "=1\r\n";
        base.write(s("data/Own Pad.dat"), record);
    }

    TempBase base;
    std::unique_ptr<PeerProcess> http;
    std::unique_ptr<PeerProcess> smtp;
    std::unique_ptr<PeerProcess> ftp;
};

struct Outcome
{
    const char* site;
    SiteResult::Outcome outcome;
};

void expectOutcomes(const QByteArray& json, std::initializer_list<Outcome> expected)
{
    const std::optional<RunRecord> report = RunReport::fromJson(json);
    ASSERT_TRUE(report.has_value()) << json.constData();
    ASSERT_EQ(report->sites.size(), expected.size()) << json.constData();
    std::size_t i = 0;
    for (const Outcome& e : expected) {
        EXPECT_EQ(report->sites[i].siteKey, s(e.site)) << i;
        EXPECT_EQ(report->sites[i].outcome, e.outcome) << e.site << " " << report->sites[i].detail.toStdString();
        ++i;
    }
}

} // namespace

TEST_F(UserSites, EachChannelSendsItsBytesInARunWithTheBuiltInSites)
{
    tickOwn({s("Ownformnew"), s("Owngetup"), s("Ownmailnew"), s("Ownftpnew"), s("Ownfailnew"), s("Ownslownew"),
        s("Ownbrokennew")});

    // The preview first: nothing reaches the peers, every site of one's own is previewed.
    const BatchResult preview = runQuillet(base.path(),
        {s("--submit"), s("Own Pad"), s("--dry-run"), base.file(s("preview")), s("--report"),
            base.file(s("preview.json"))});
    EXPECT_TRUE(preview.err.contains(s("Site not used: cat/sites/g-broken.site:9: unknown field {cost}")))
        << preview.err.toStdString();
    EXPECT_TRUE(QDir(base.file(s("received"))).entryList(QDir::Files).isEmpty());
    using O = SiteResult::Outcome;
    expectOutcomes(base.read(s("preview.json")),
        {{"essen", O::Sent}, {"galt", O::Sent}, {"Ownform", O::Sent}, {"Ownget", O::Sent}, {"Ownmail", O::Sent},
            {"Ownftp", O::Sent}, {"Ownfail", O::Sent}, {"Ownslow", O::Sent}});

    const BatchResult run = runQuillet(
        base.path(), {s("--submit"), s("Own Pad"), s("--timeout"), s("2"), s("--report"), base.file(s("first.json"))});
    EXPECT_EQ(run.exitCode, 3) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(s("Site not used: cat/sites/g-broken.site:9: unknown field {cost}")));
    EXPECT_TRUE(run.err.contains(s("Own Pad: 6 sent, 1 failed, 1 skipped"))) << run.err.toStdString();
    expectOutcomes(base.read(s("first.json")),
        {{"essen", O::Sent}, {"galt", O::Sent}, {"Ownform", O::Sent}, {"Ownget", O::Sent}, {"Ownmail", O::Sent},
            {"Ownftp", O::Sent}, {"Ownfail", O::Failed}, {"Ownslow", O::Skipped}});
    EXPECT_TRUE(run.out.contains(s("Own Slow Site: Timed out: no progress for 2 seconds")))
        << run.out.join(s("\n")).toStdString();

    // Byte for byte: the two form requests of one's own (after essen's), the mail (after galt's),
    // the FTP session and its uploads.
    const QByteArrayList requests = recordedRequestBytes(base.file(s("received")));
    ASSERT_GE(requests.size(), 3);
    EXPECT_EQ(normalized(requests[1], http->port(), ftp->port()), dataFile(s("expected/form.req")));
    EXPECT_EQ(normalized(requests[2], http->port(), ftp->port()), dataFile(s("expected/get.req")));
    const QStringList mails = QDir(base.file(s("mail"))).entryList({s("*.req")}, QDir::Files, QDir::Name);
    ASSERT_EQ(mails.size(), 2);
    EXPECT_EQ(
        normalized(base.read(s("mail/") + mails[1]), http->port(), ftp->port()), dataFile(s("expected/mail.eml")));
    EXPECT_EQ(base.read(s("ftp/incoming/ownpad10.zip")), base.read(s("files/Own Pad.zip")));
    EXPECT_EQ(base.read(s("ftp/incoming/ownpad.txt")), base.read(s("files/ownpad.txt")));
    EXPECT_EQ(normalized(base.read(s("ftp.log")), http->port(), ftp->port()), dataFile(s("expected/ftp.log")));
    // The preview wrote what the sites received.
    EXPECT_EQ(
        normalized(base.read(s("preview/http/0002.req")), http->port(), ftp->port()), dataFile(s("expected/form.req")));

    // Only the failed and the skipped site go again; the record keeps its ticks.
    const QByteArray record = base.read(s("data/Own Pad.dat"));
    const BatchResult retry = runQuillet(base.path(),
        {s("--submit"), s("Own Pad"), s("--timeout"), s("2"), s("--retry-failed"), base.file(s("first.json")),
            s("--report"), base.file(s("retry.json"))});
    EXPECT_EQ(retry.exitCode, 3) << retry.err.toStdString();
    expectOutcomes(base.read(s("retry.json")), {{"Ownfail", O::Failed}, {"Ownslow", O::Skipped}});
    EXPECT_EQ(base.read(s("data/Own Pad.dat")), record);
}
