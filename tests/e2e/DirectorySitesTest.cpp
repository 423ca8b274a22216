// The directory sites (tucows to slaughterhouse, File Mine's GET) through "quillet --submit",
// against the recording HTTP peer. Expected requests are kept byte for byte in
// tests/data/directory_sites: request line, empty line, body.
#include "ProgramBase.h"
#include "support/PeerProcess.h"
#include "support/RecordedRequests.h"
#include "support/Text.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

QMap<QString, QString> fields(std::initializer_list<std::pair<const char*, const char*>> list)
{
    QMap<QString, QString> m;
    for (const auto& [k, v] : list)
        m[s(k)] = s(v);
    return m;
}

// The sites' web hosts, the tucows upload host (anonymous, the contact's address as password)
// and the SMTP server, all recording what they receive.
class DirectorySites : public ::testing::Test
{
protected:
    void startPeers(const QString& ftpPassword, const QStringList& httpExtra = {})
    {
        http = std::make_unique<PeerProcess>(s("http_peer.py"),
            QStringList{s("--record"), base.file(s("received")), s("--lifetime"), s("120")} + httpExtra);
        ASSERT_TRUE(http->started()) << http->errors().toStdString();
        QDir().mkpath(base.file(s("ftp/uploads")));
        ftp = std::make_unique<PeerProcess>(s("ftp_peer.py"),
            QStringList{s("--root"), base.file(s("ftp")), s("--record"), base.file(s("ftp-commands")), s("--user"),
                s("Anonymous"), s("--password"), ftpPassword, s("--lifetime"), s("120")});
        ASSERT_TRUE(ftp->started()) << ftp->errors().toStdString();
        smtp = std::make_unique<PeerProcess>(
            s("smtp_peer.py"), QStringList{s("--record"), base.file(s("mail")), s("--lifetime"), s("120")});
        ASSERT_TRUE(smtp->started()) << smtp->errors().toStdString();
        base.write(s("cat/catalogue.dat"), catalogueForPeers(http->port(), ftp->port()));
        base.write(s("cat/settings.dat"), mailSettingsFor(smtp->port(), "author@quillet.example", "Author"));
    }

    BatchResult submit(const ProgramRecord& record)
    {
        writeProgram(base, record);
        return runQuillet(base.path(), {s("--submit"), record.name});
    }
    QList<RecordedRequest> received() const { return recordedRequests(base.file(s("received"))); }
    QStringList mails() const
    {
        const QDir dir(base.file(s("mail")));
        QStringList out;
        for (const QString& name : dir.entryList({s("*.req")}, QDir::Files, QDir::Name))
            out.append(QString::fromUtf8(base.read(s("mail/") + name)));
        return out;
    }

    TempBase base;
    std::unique_ptr<PeerProcess> http, ftp, smtp;
};

// New-listing and update boxes both set wherever a site has both: only the new listing goes out,
// except at slaughterhouse, which takes both. Spaces, "&", "=" and "%" in values, three-line
// description, two-line notes, an empty fourth download location.
ProgramRecord zipAndGo()
{
    return {s("Zip & Go"),
        fields({{"compname", "Brightfen Software"}, {"conname", "Ann Author"}, {"conmail", "ann@brightfen.example"},
            {"pubpage", "http://brightfen.example/"}, {"pubmail", "sales@brightfen.example"}, {"char8name", "zipgo21"},
            {"filename", "zipgo21.zip"}, {"version", "2.1"}, {"day", "4"}, {"month", "7"}, {"year", "99"},
            {"platforms", "Windows 95"}, {"bytesize", "1500000"}, {"price", "15.00"}, {"status", "Beta"},
            {"eval", "30 days"}, {"expiredate", "1-Jan-2000"}, {"expireafter", "30"},
            {"installer", "Install/Uninstall"}, {"appurl", "http://brightfen.example/zipgo.html"},
            {"dl1", "ftp://ftp.brightfen.example/zipgo21.zip"}, {"dl2", "http://brightfen.example/zipgo21.zip"},
            {"dl3", "http://mirror.example/zipgo21.zip"}, {"dl4", ""}, {"dl5", "http://five.example/z.zip"},
            {"dl6", ""}, {"screenshot", "http://brightfen.example/shot.gif"}, {"tucowspd", "Compression"},
            {"win95pd", "http://win95.example/utilities/"}, {"kcpd", "Utilities"}, {"wincentpd", "Utilities"},
            {"wcsubcat", "Compression"}, {"dlcat", "Utilities"}, {"shareware95pd", "http://shareware95.example/utils/"},
            {"fileminepd", "Utilities - Text Editors"}}),
        {s("Zip & Go packs files=fast, 100% sure."), s("Second line."), s("Third line.")},
        {s("tucowsnewcb"), s("tucowscb"), s("win95newcb"), s("win95cb"), s("new32bit"), s("bit32cb"),
            s("kellcentnewcb"), s("kccb"), s("wincentnewcb"), s("wincentcb"), s("downloadnewcb"), s("downloadcb"),
            s("fileminenewcb"), s("fileminecb"), s("sharewarenewcb"), s("shareware95cb"), s("slaughnewcb"),
            s("Slaughterhousecb")},
        {s("Registration code: none"), s("Reviewers get a free key.")}};
}

// Update boxes only; "&" in the contact name, empty day, price and categories, 2048 bytes.
ProgramRecord padLite()
{
    return {s("Pad Lite"),
        fields({{"compname", "Pad Works"}, {"conname", "Bob & Co"}, {"conmail", "bob@pad.example"},
            {"char8name", "padlite"}, {"filename", "padlite.zip"}, {"version", "1.0"}, {"month", "12"}, {"year", "05"},
            {"platforms", "Windows 95 and NT"}, {"bytesize", "2048"}, {"status", "Time Limit Demo"},
            {"appurl", "http://pad.example/"}, {"dl1", "http://pad.example/padlite.zip"}}),
        {s("Tiny pad.")},
        {s("tucowscb"), s("win95cb"), s("kccb"), s("downloadcb"), s("shareware95cb"), s("Slaughterhousecb")}};
}

struct ExpectedRequest
{
    QString name;
    QByteArray bytes; // request line, CR LF CR LF, body
};

QList<ExpectedRequest> expectedRequests(const char* folder)
{
    const QDir dir(QStringLiteral(QUILLET_TEST_DATA_DIR "/directory_sites/") + s(folder));
    QList<ExpectedRequest> out;
    for (const QString& name : dir.entryList({QStringLiteral("*.req")}, QDir::Files, QDir::Name)) {
        QFile f(dir.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << name.toStdString();
        out.append({name, f.readAll()});
    }
    return out;
}

// "{time}" in an expected request stands for the time of day the site was sent.
bool matches(const QByteArray& expected, const QByteArray& actual)
{
    if (!expected.contains("{time}"))
        return expected == actual;
    QString pattern;
    const QList<QByteArray> pieces = expected.split('{');
    for (const QByteArray& piece : pieces) {
        if (piece.startsWith("time}")) {
            pattern += QStringLiteral("\\d{1,2}:\\d\\d:\\d\\d( ?[AaPp][Mm])?");
            pattern += QRegularExpression::escape(QString::fromUtf8(piece.mid(5)));
        } else {
            pattern += QRegularExpression::escape(QString::fromUtf8(piece));
        }
    }
    return QRegularExpression(QRegularExpression::anchoredPattern(pattern)).match(QString::fromUtf8(actual)).hasMatch();
}

struct RecordCase
{
    const char* name;
    ProgramRecord (*record)();
    const char* folder;
    QStringList log;
};

class DirectoryRequests : public DirectorySites, public ::testing::WithParamInterface<RecordCase>
{
};

TEST_P(DirectoryRequests, EachSiteReceivesItsExactRequest)
{
    const RecordCase& c = GetParam();
    const ProgramRecord record = c.record();
    startPeers(record.fields.value(s("conmail")));
    const BatchResult result = submit(record);
    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_EQ(result.out, c.log);
    // The program's file went up first; the update mails of bit32, wincent and File Mine did not
    // go out beside their new listings.
    EXPECT_EQ(base.read(s("ftp/uploads/") + record.fields.value(s("filename"))), QByteArray("PK\x03\x04"));
    EXPECT_TRUE(mails().isEmpty());

    const QList<ExpectedRequest> expected = expectedRequests(c.folder);
    const QList<RecordedRequest> sent = received();
    ASSERT_EQ(sent.size(), expected.size());
    for (qsizetype i = 0; i < sent.size(); ++i) {
        const QByteArray actual = sent[i].requestLine + "\r\n\r\n" + formDecoded(sent[i].body);
        EXPECT_TRUE(matches(expected[i].bytes, actual))
            << expected[i].name.toStdString() << "\nexpected: " << expected[i].bytes.constData()
            << "\nactual:   " << actual.constData();
        if (sent[i].requestLine.startsWith("POST")) {
            EXPECT_TRUE(sent[i].head.contains("\r\nContent-Type: application/x-www-form-urlencoded\r\n"));
            EXPECT_TRUE(sent[i].head.contains("\r\nContent-Length: " + QByteArray::number(sent[i].body.size())));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Records, DirectoryRequests,
    ::testing::Values(RecordCase{"NewListings", &zipAndGo, "new_listings",
                          {s("Uploaded zipgo21.zip to Tucows FTP"), s("Tucows: Completed HTTP Post"),
                              s("win95.example: Completed HTTP Post"), s("bit32.example: Completed HTTP Post"),
                              s("kellcent.example: Completed HTTP Post"), s("wincent.example: Completed HTTP Post"),
                              s("download.example: Completed HTTP Post"), s("File Mine: Completed HTTP GET"),
                              s("shareware95.example: Completed HTTP Post"), s("Slaughterhouse: Completed HTTP Post")}},
        RecordCase{"Updates", &padLite, "updates",
            {s("Uploaded padlite.zip to Tucows FTP"), s("Tucows: Completed HTTP Post"),
                s("win95.example: Completed HTTP Post"), s("kellcent.example: Completed HTTP Post"),
                s("download.example: Completed HTTP Post"), s("shareware95.example: Completed HTTP Post"),
                s("Slaughterhouse: Completed HTTP Post")}}),
    [](const ::testing::TestParamInfo<RecordCase>& info) { return std::string(info.param.name); });

// Every row of the status and platform mappings, and File Mine's category codes. Each case lists,
// site by site in walk order, what stands between two neighbouring fixed fields:
//   tucows license | win95 platform | win95 status | kellcent prodtype and platforms | wincent os |
//   wincent type | download license | File Mine beta and apptype | File Mine platform and prodcat |
//   shareware95 status | slaughterhouse status
// "-" where the site is not ticked.
struct MappingCase
{
    const char* status;
    const char* platform;
    const char* category;
    const char* segments;
};

struct Anchors
{
    int request; // index among the requests of a run with every site ticked
    const char* before;
    const char* after;
};

const Anchors kAnchors[] = {
    {0, "&evaluation=&", "comments="},
    {1, "&size=2&", "Home Page="},
    {1, "&Home Page=http://pad.example/&", "price="},
    {3, "&comments=Tiny pad.&", "publisher="},
    {4, "&newsw=&", "rating="},
    {4, "&tname=&", "urlhome="},
    {5, "&desc=Tiny pad.&", "os=Windows&"},
    {6, "&filebeta=", "&appamount="},
    {6, "&filedesc=Tiny pad.", "&archivename="},
    {7, "&category=http://&", "fee="},
    {8, "&size=2K&", "fee="},
};

QByteArray between(const QByteArray& text, const char* before, const char* after)
{
    const qsizetype from = text.indexOf(before);
    if (from < 0)
        return "(no " + QByteArray(before) + ")";
    const qsizetype start = from + qstrlen(before);
    const qsizetype end = text.indexOf(after, start);
    return end < 0 ? "(no " + QByteArray(after) + ")" : text.mid(start, end - start);
}

class DirectoryMappings : public DirectorySites, public ::testing::WithParamInterface<MappingCase>
{
};

TEST_P(DirectoryMappings, PickListTextsBecomeTheSitesValues)
{
    const MappingCase& c = GetParam();
    startPeers(s("bob@pad.example"));
    ProgramRecord record = padLite();
    record.fields[s("status")] = s(c.status);
    record.fields[s("platforms")] = s(c.platform);
    record.fields[s("fileminepd")] = s(c.category);
    record.ticked = {s("tucowsnewcb"), s("win95newcb"), s("new32bit"), s("kellcentnewcb"), s("wincentnewcb"),
        s("downloadnewcb"), s("fileminenewcb"), s("sharewarenewcb"), s("slaughnewcb")};
    const QList<QByteArray> segments = QByteArray(c.segments).split('|');
    ASSERT_EQ(segments.size(), std::size(kAnchors));
    const bool withoutWin95 = segments[1] == "-";
    if (withoutWin95)
        record.ticked.removeOne(s("win95newcb"));

    const BatchResult result = submit(record);
    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    QList<RecordedRequest> sent = received();
    ASSERT_EQ(sent.size(), withoutWin95 ? 8 : 9);
    if (withoutWin95)
        sent.insert(1, RecordedRequest{});
    for (qsizetype i = 0; i < segments.size(); ++i) {
        if (segments[i] == "-")
            continue;
        const Anchors& a = kAnchors[i];
        const QByteArray request
            = formDecoded(sent[a.request].body.isEmpty() ? sent[a.request].requestLine : sent[a.request].body);
        EXPECT_EQ(between(request, a.before, a.after), segments[i]) << "segment " << i << ": " << request.constData();
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, DirectoryMappings,
    ::testing::Values(
        MappingCase{"Feature Limit Demo", "Windows 95", "Games - Board",
            "license=Demo&|platform=Win95 Only&|Status=Commercial Demo&|prodtype=Feature Limit Demo&run95=yes&|os=W95&"
            "|type=DE&|license=Demo&|no&apptype=Crippleware|&platform=4&prodcat=75|status= Commercial Demo &"
            "|status=Crippleware&"},
        MappingCase{"Time Limit Demo", "Windows NT", "Business - Databases",
            "license=Demo&|platform=Win NT Only&|Status=Commercial Demo&"
            "|prodtype=Time Limit Demo&runnt35=yes&runnt40=yes&|os=WNT&|type=DE&|license=Demo&|no&apptype=Nagware"
            "|&platform=5&prodcat=41|status= Commercial Demo &|status=Nagware&"},
        MappingCase{"Public Domain", "Windows 95 and NT", "",
            "license=Freeware&|platform=Both Win95 & NT&|Status=Freeware&"
            "|prodtype=Public Domain&runnt40=yes&runnt35=yes&runnt95=yes&|os=95NT&|type=FW&|license=Free&"
            "|no&apptype=Freeware|&platform=10&prodcat=|status= Freeware &|status=Freeeware&"},
        MappingCase{"Freeware", "Linux", "Utilities - Text Editors",
            "license=Freeware&||Status=Freeware&|prodtype=Freeware&||type= FW&|license= Free&|no&apptype=Freeware|115"
            "|status= Freeware &|status=Freeeware&"},
        MappingCase{"Shareware", "Windows 3.x", "utilities - text editors",
            "license=Shareware&|-|-|prodtype=Shareware&run3x=yes&||type=SW&|license=Shareware&|no&apptype=Shareware|"
            "|status= Shareware &|status=Shareware&"},
        MappingCase{"Beta", "Windows 95", "Internet - Java",
            "license=Other&|platform=Win95 Only&|Status=Shareware&|prodtype=Prerelease&run95=yes&|os=W95&|type=DE&"
            "|license=Demo&|yes&apptype=Shareware|&platform=4&prodcat=36|status= Shareware &|status=Shareware&"},
        MappingCase{"Shareware", "Windows 95 and NT", "Programming - Java",
            "license=Shareware&|platform=Both Win95 & NT&|Status=Shareware&"
            "|prodtype=Shareware&runnt40=yes&runnt35=yes&runnt95=yes&|os=95NT&|type=SW&|license=Shareware&"
            "|no&apptype=Shareware|&platform=10&prodcat=36|status= Shareware &|status=Shareware&"},
        MappingCase{"Nagware", "Windows NT", "Business - Accounting/Finance",
            "|platform=Win NT Only&||runnt35=yes&runnt40=yes&|os=WNT&|||no|&platform=5&prodcat=54||"}));

TEST_F(DirectorySites, Win95EndsTheRunForWindows3x)
{
    startPeers(s("bob@pad.example"));
    ProgramRecord record = padLite();
    record.fields[s("platforms")] = s("Windows 3.x");
    record.ticked = {s("tucowsnewcb"), s("win95newcb"), s("win95cb"), s("kellcentnewcb"), s("slaughnewcb")};
    const BatchResult result = submit(record);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.out, (QStringList{s("Uploaded padlite.zip to Tucows FTP"), s("Tucows: Completed HTTP Post")}));
    EXPECT_FALSE(result.err.contains(s("Shareware Submission is complete"))) << result.err.toStdString();
    const QList<RecordedRequest> sent = received();
    ASSERT_EQ(sent.size(), 1);
    EXPECT_EQ(sent[0].requestLine, QByteArray("POST /cgi-bin/request2.pl HTTP/1.0"));
}

// The sites whose redirect and error lines name the site otherwise than their completion line.
struct OutcomeCase
{
    const char* name;
    QStringList routes;
    QStringList log;
};

class DirectoryOutcomes : public DirectorySites, public ::testing::WithParamInterface<OutcomeCase>
{
};

TEST_P(DirectoryOutcomes, RedirectsCountAsPostedAndErrorsAreLogged)
{
    const OutcomeCase& c = GetParam();
    QStringList args;
    for (const QString& r : c.routes)
        args << s("--route") << r;
    startPeers(s("bob@pad.example"), args);
    ProgramRecord record = padLite();
    record.ticked = {s("kellcentnewcb"), s("wincentnewcb"), s("downloadnewcb"), s("fileminenewcb")};
    const BatchResult result = submit(record);
    // Failed posts: the run completes, not every site was sent.
    const bool errors = c.log.join(QLatin1Char('\n')).contains(s("Error Posting"));
    EXPECT_EQ(result.exitCode, errors ? 3 : 0) << result.err.toStdString();
    EXPECT_EQ(result.out, c.log);
    EXPECT_EQ(received().size(), 4);
}

INSTANTIATE_TEST_SUITE_P(Answers, DirectoryOutcomes,
    ::testing::Values(OutcomeCase{"Redirects",
                          {s("/cgi-bin/submail.pl=302 Found"), s("/software/submit/add.cgi=302 Moved Temporarily"),
                              s("/PC/Help/Registry/1,45,0,00.html=302 Document Found"), s("/AddFiles_Save=302 Found")},
                          {s("Kell Central: Completed HTTP Post"), s("wincent.example: Completed HTTP Post"),
                              s("download.example: Completed HTTP Post"), s("FileMine: Completed HTTP Post")}},
        OutcomeCase{"Errors",
            {s("/cgi-bin/submail.pl=404 Not Found"), s("/software/submit/add.cgi=500 Server Error"),
                s("/PC/Help/Registry/1,45,0,00.html=403 Forbidden"), s("/AddFiles_Save=404 Not Found")},
            {s("Kell Central: Error Posting - 151: 404 Not Found"),
                s("Windows Central: Error Posting - 151: 500 Server Error"),
                s("download.example: Error Posting - 151: 403 Forbidden"),
                s("FileMine: Error Posting - 151: 404 Not Found")}}),
    [](const ::testing::TestParamInfo<OutcomeCase>& info) { return std::string(info.param.name); });

TEST_F(DirectorySites, TucowsPostsEvenWhenItsUploadFails)
{
    startPeers(s("not-the-contact@pad.example"));
    ProgramRecord record = padLite();
    record.ticked = {s("tucowsnewcb")};
    const BatchResult result = submit(record);
    // The failed upload makes the site a failure; the run completes.
    EXPECT_EQ(result.exitCode, 3) << result.err.toStdString();
    ASSERT_EQ(result.out.size(), 2);
    EXPECT_TRUE(result.out[0].startsWith(s("Tucows: There was an FTP error: "))) << result.out[0].toStdString();
    EXPECT_EQ(result.out[1], s("Tucows: Completed HTTP Post"));
    EXPECT_EQ(received().size(), 1);
    EXPECT_FALSE(QFile::exists(base.file(s("ftp/uploads/padlite.zip"))));
}

// The e-mail sites and update mails, each message's envelope recipient, subject and opening lines
// (what comes before the listing) kept in tests/data/directory_sites/mails_*.
struct MailCase
{
    const char* name;
    QStringList ticked;
    const char* folder;
    QStringList log;
};

// "X-Envelope-To:" and "Subject:" lines, an empty line, the body up to the listing.
QByteArray opening(const QString& message)
{
    const QStringList lines = message.split(s("\r\n"));
    QString to, subject;
    for (const QString& line : lines) {
        if (line.isEmpty())
            break;
        if (line.startsWith(s("X-Envelope-To: ")))
            to = line;
        else if (line.startsWith(s("Subject: ")))
            subject = line;
    }
    const qsizetype body = message.indexOf(s("\r\n\r\n")) + 4;
    const qsizetype listing = message.indexOf(s("Application Name: "), body);
    return (to + s("\r\n") + subject + s("\r\n\r\n") + message.mid(body, listing - body)).toUtf8();
}

class DirectoryMails : public DirectorySites, public ::testing::WithParamInterface<MailCase>
{
};

TEST_P(DirectoryMails, EachSiteIsMailedItsOpeningAndTheListing)
{
    const MailCase& c = GetParam();
    startPeers(s("bob@pad.example"));
    ProgramRecord record = padLite();
    record.fields[s("simpbestpd")] = s("Editors");
    record.ticked = c.ticked;
    const BatchResult result = submit(record);
    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_EQ(result.out, c.log);

    const QDir dir(QStringLiteral(QUILLET_TEST_DATA_DIR "/directory_sites/") + s(c.folder));
    const QStringList expected = dir.entryList({s("*.txt")}, QDir::Files, QDir::Name);
    const QStringList sent = mails();
    ASSERT_EQ(sent.size(), expected.size());
    for (qsizetype i = 0; i < sent.size(); ++i) {
        QFile f(dir.filePath(expected[i]));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_EQ(opening(sent[i]).toStdString(), f.readAll().toStdString()) << expected[i].toStdString();
        EXPECT_TRUE(sent[i].contains(s("\r\nApplication Name: Pad Lite\r\n")));
    }
    EXPECT_TRUE(received().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Variants, DirectoryMails,
    ::testing::Values(
        // New listings with the update boxes set too: only the new listing goes out.
        MailCase{"NewListings",
            {s("cwsnewcb"), s("treskcb"), s("simpbestnew"), s("simpbestup"), s("marnelsnewcb"), s("marnelscb"),
                s("vosknewcb"), s("keyscreennewcb"), s("swpagenewcb"), s("myswcb"), s("otbanewcb")},
            "mails_new",
            {s("Tresks CWS Apps: E-Mailed"), s("Simply The Best: E-Mailed"), s("Marnel's Win95 List: E-Mailed"),
                s("VoskHangar95: E-Mailed"), s("Keyscreen: E-Mailed"), s("My SharewarePage: E-Mailed"),
                s("Only The Best Apps: E-Mailed")}},
        MailCase{"Updates",
            {s("bit32cb"), s("treskcb"), s("wincentcb"), s("fileminecb"), s("simpbestup"), s("marnelscb"), s("voskcb"),
                s("keyscreencb"), s("myswcb"), s("otbacb")},
            "mails_update",
            {s("bit32.example:  E-Mailed Update Information"), s("Tresks CWS Apps: E-Mailed"),
                s("wincent.example:  E-Mailed Update Information"), s("FileMine: E-Mailed Update Information"),
                s("Simply The Best: E-Mailed"), s("Marnel's Win95 List: E-Mailed"), s("VoskHangar95: E-Mailed"),
                s("Keyscreen: E-Mailed"), s("My SharewarePage: E-Mailed"), s("Only The Best Apps: E-Mailed")}}),
    [](const ::testing::TestParamInfo<MailCase>& info) { return std::string(info.param.name); });

} // namespace
