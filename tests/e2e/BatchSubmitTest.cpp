// Submissions through "quillet --submit", against the recording HTTP peer: the exact bytes each
// site receives and what the run prints.
#include "ProgramBase.h"
#include "support/PeerProcess.h"
#include "support/RecordedRequests.h"
#include "support/Text.h"

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

// Every site at the peer; two sites with mailboxes of their own.
QByteArray catalogueFor(quint16 port, QMap<QString, QByteArray> siteLines = {})
{
    siteLines[s("essen")] += "MAILBOX=tes@essen.test\r\nMAILBOX2=suggest@essen.test\r\n";
    siteLines[s("sshak")] += "MAILBOX2=editor@sshak.test\r\n";
    return catalogueForPeers(port, 0, siteLines);
}

class BatchSubmit : public ::testing::Test
{
protected:
    void startPeer(const QStringList& extra = {})
    {
        peer = std::make_unique<PeerProcess>(
            s("http_peer.py"), QStringList{s("--record"), base.file(s("received")), s("--lifetime"), s("120")} + extra);
        ASSERT_TRUE(peer->started()) << peer->errors().toStdString();
        base.write(s("cat/catalogue.dat"), catalogueFor(peer->port()));
    }

    BatchResult submit(const QString& name) { return runQuillet(base.path(), {s("--submit"), name}); }
    QList<RecordedRequest> received() const { return recordedRequests(base.file(s("received"))); }

    TempBase base;
    std::unique_ptr<PeerProcess> peer;
};

struct Expected
{
    const char* requestLine;
    const char* body;
};

// "Zip & Go": new-listing boxes (both boxes where a site has both), "&" and "=" and "%" in values,
// a two-line description.
ProgramRecord zipAndGo()
{
    return {s("Zip & Go"),
        fields({{"compname", "Brightfen Software"}, {"conname", "Ann Author"}, {"conmail", "ann@brightfen.example"},
            {"pubpage", "http://brightfen.example/"}, {"char8name", "zipgo21"}, {"filename", "zipgo21.zip"},
            {"version", "2.1"}, {"day", "4"}, {"month", "7"}, {"year", "99"}, {"platforms", "Windows 95"},
            {"bytesize", "1500000"}, {"instsize", "2400000"}, {"price", "15.00"}, {"status", "Beta"},
            {"expiredate", "1-Jan-2000"}, {"expireafter", "30"}, {"appurl", "http://brightfen.example/zipgo.html"},
            {"dl1", "ftp://ftp.brightfen.example/zipgo21.zip"}, {"dl2", "http://brightfen.example/zipgo21.zip"},
            {"screenshot", "http://brightfen.example/shot.gif"}, {"shortdesc", "Zip files on the go"},
            {"fkingpd", "Utilities"}, {"swjunkiepd", "Home & Hobby"}, {"sharedirpd1", "Select Category 1"},
            {"sharedirpd2", "Compression"}, {"cswpd", "Archivers"}, {"sshakpd", "Utilities"}}),
        {s("Zip & Go packs files=fast, 100% sure."), s("Second line.")},
        {s("essennew"), s("shareinnew"), s("shareinup"), s("warehousenewcb"), s("fkingnew"), s("lgup"),
            s("swjunkienew"), s("swjunkieup"), s("sharedirnew"), s("sharedirup"), s("cswnew"), s("sshakup")}};
}

#define ZLD "Zip & Go packs files=fast, 100% sure.\r\nSecond line."

const Expected kZipAndGo[] = {
    {"POST /cgi-bin/cgiwrap/ashmoor/suggest_shareware.pl HTTP/1.0",
        "body=Suggested Software for The Essential Shareware&from=tes@essen.test&sub=TES Suggestion"
        "&to=suggest@essen.test&Platform=Windows 95/NT (32-bit) &Software Title=Zip & Go"
        "&Software URL=http://brightfen.example/zipgo.html&Description=" ZLD
        "&Suggestors Name=Ann Author&Suggestors Email=ann@brightfen.example"},
    {"POST /cgi-bin/form_ext?submit@sharein.example HTTP/1.0",
        "Nombre_autor=Ann Author&Email=ann@brightfen.example&Tipo=New program&Nombre=Zip & Go&Version=2.1"
        "&Licencia=Shareware&Plataforma=Windows 95&Idioma=English&Pagina=http://sharein.example/thanks.html"
        "&Caduca_fecha=1-Jan-2000&Caduca_dias=30&WEB=http://brightfen.example/zipgo.html"
        "&SRC=ftp://ftp.brightfen.example/zipgo21.zip&Descripcion=" ZLD},
    {"POST /submit.cgi HTTP/1.0",
        "name=Ann Author&email=ann@brightfen.example&url=http://brightfen.example/zipgo.html"},
    {"POST /cgi/FormMail.cgi HTTP/1.0",
        "a=<B><A HREF=&d=</B></A>&e=<BR><B>&f=</B>&g=<BR><BR>&i=<BR><BR>&j=<B>&l=</B>&m=<BR><B><A HREF="
        "&o=Home Page</A></B>&p=<HR>&q=<BR>&recipient=submit@fking.example"
        "&redirect=http://fking.example/thanks.html&s=Version&subject=submit@fking.example&os=Win95/NT"
        "&b=ftp://ftp.brightfen.example/zipgo21.zip&c=Zip & Go&t=2.1&h=" ZLD
        "&k=1500000 bytes&n=http://brightfen.example/zipgo.html&r=Utilities&email=ann@brightfen.example"},
    {"POST /cgi-bin/formmail.cgi HTTP/1.0",
        "recipient=submit@lg.example&redirect=http://lg.example/thanks.html&required=email,realname,why"
        "&sort=alphabetic&subject=Lockergnome Submission&email=ann@brightfen.example&realname=Ann Author"
        "&Name=Zip & Go&Version=2.1&Size=1464&Download=ftp://ftp.brightfen.example/zipgo21.zip"
        "&Homepage=http://brightfen.example/zipgo.html&Status=Beta&Price=15.00&Requirements=Windows 95"
        "&Folder=Program&g=" ZLD "&k=1500000 bytes&E-Mail=ann@brightfen.example&why=" ZLD},
    {"POST /_vti_bin/shtml.dll/Working/form_sub95_home.htm HTTP/1.0",
        "VTI-GROUP=0&Name of the Program=Zip & Go&Type of Program=Home & Hobby"
        "&Company/Authors Name=Brightfen Software - Ann Author&Version=2.1&Price=15.00&Installed Size=2400000"
        "&file name=zipgo21.zip&Where can this program be downloaded? =ftp://ftp.brightfen.example/zipgo21.zip"
        "&Home page for the program=http://brightfen.example/zipgo.html"
        "&Company/Authors Homepage if different=http://brightfen.example/&Program Description=" ZLD
        "\r\n\r\nSoftware submitted with Quillet&Person submitting the program for Review=Ann Author"
        "&email=ann@brightfen.example&Revised Request=ON&First Request=ON&B1=Submit"},
    {"POST /cgi-bin/web552ea/FormMail.pl HTTP/1.0",
        "recipient=submit@sharedir.example&redirect=http://sharedir.example/thanks.html&subject=Upload"
        "&Type=NEW UPLOAD&Type=UPDATE&Product=Beta/Prerelease&Shareware Title=Zip & Go&Ver=2.1&OS=95"
        "&Shareware URL=http://brightfen.example/zipgo.html&email=ann@brightfen.example"
        "&Screen Shot=http://brightfen.example/shot.gif&Download W95=ftp://ftp.brightfen.example/zipgo21.zip"
        "&Size95=1500000 bytes&Download WNT 4.0=ftp://ftp.brightfen.example/zipgo21.zip"
        "&SizeWNT 4.0=1500000 bytes&Price=15.00&category1=Select Category 1&category2=Compression"
        "&Description=" ZLD "&"},
    {"POST /cgi-bin/mailform.cgi HTTP/1.0",
        "email_form_to=submit@csw.example,ann@brightfen.example&email_from=ann@brightfen.example"
        "&email_subject=Submit Shareware&email_template_filename=submit.eml&response_filename=promote.html"
        "&WHICH=New&COMPANY=Brightfen Software&EMAIL=ann@brightfen.example&PROG=Zip & Go&VER=2.1&COST=15.00"
        "&DIRECTORY=Archivers&FILE=zipgo21&SIZE=1464&FDATE=7/4/99&HOME=http://brightfen.example/zipgo.html"
        "&SCREEN=http://brightfen.example/shot.gif&SHORT=Zip files on the go&LONG=" ZLD
        "&DOWN1=ftp://ftp.brightfen.example/zipgo21.zip&DOWN2=http://brightfen.example/zipgo21.zip"},
    {"POST /cgi-bin/links.pl HTTP/1.0",
        "recipient=submit@sshak.example, editor@sshak.test&title=Zip & Go&url=ftp://ftp.brightfen.example/zipgo21.zip"
        "&description=" ZLD "&desctitle=Brightfen Software&descurl=http://brightfen.example/zipgo.html"
        "&section=Utilities&"},
};

// "Pad Lite": update boxes only, "&" in the contact name, empty fields, 2048 bytes, no OS mapping.
ProgramRecord padLite()
{
    return {s("Pad Lite"),
        fields({{"compname", "Pad Works"}, {"conname", "Bob & Co"}, {"conmail", "bob@pad.example"},
            {"char8name", "padlite"}, {"filename", "padlite.zip"}, {"version", "1.0"}, {"month", "12"}, {"year", "05"},
            {"platforms", "Windows 95 and NT"}, {"bytesize", "2048"}, {"status", "Time Limit Demo"},
            {"appurl", "http://pad.example/"}, {"dl1", "http://pad.example/padlite.zip"}, {"dl2", ""},
            {"swjunkiepd", "Utilities"}, {"sharedirpd1", "Editors"}, {"sharedirpd2", "Select Category 2"},
            {"sshakpd", "Text"}}),
        {s("Tiny pad.")},
        {s("essenup"), s("shareinup"), s("wsockwhcb"), s("fkingup"), s("lgnew"), s("swjunkieup"), s("sharedirup"),
            s("cswup"), s("sshaknew")}};
}

const Expected kPadLite[] = {
    {"POST /cgi-bin/cgiwrap/ashmoor/suggest_shareware.pl HTTP/1.0",
        "body=Suggested Software for The Essential Shareware&from=tes@essen.test&sub=TES Suggestion"
        "&to=suggest@essen.test&Platform=Windows 95/NT (32-bit) &Software Title=Pad Lite"
        "&Software URL=http://pad.example/&Description=Tiny pad.&Suggestors Name=Bob & Co"
        "&Suggestors Email=bob@pad.example"},
    {"POST /cgi-bin/form_ext?submit@sharein.example HTTP/1.0",
        "Nombre_autor=Bob & Co&Email=bob@pad.example&Tipo=Update existing program&Nombre=Pad Lite&Version=1.0"
        "&Licencia=Commercial demo&Plataforma=Windows 95&Idioma=English&Pagina=http://sharein.example/thanks.html"
        "&Caduca_fecha=&Caduca_dias=&WEB=http://pad.example/&SRC=http://pad.example/padlite.zip"
        "&Descripcion=Tiny pad."},
    {"POST /submit.cgi HTTP/1.0", "name=Bob & Co&email=bob@pad.example&url=http://pad.example/"},
    {"POST /cgi/FormMail.cgi HTTP/1.0",
        "a=<B><A HREF=&d=</B></A>&e=<BR><B>&f=</B>&g=<BR><BR>&i=<BR><BR>&j=<B>&l=</B>&m=<BR><B><A HREF="
        "&o=Home Page</A></B>&p=<HR>&q=<BR>&recipient=submit@fking.example"
        "&redirect=http://fking.example/thanks.html&s=Version&subject=submit@fking.example&os=Win95/NT"
        "&b=http://pad.example/padlite.zip&c=Pad Lite&t=1.0&h=Tiny pad.&k=2048 bytes&n=http://pad.example/&r="
        "&email=bob@pad.example"},
    {"POST /cgi-bin/formmail.cgi HTTP/1.0",
        "recipient=submit@lg.example&redirect=http://lg.example/thanks.html&required=email,realname,why"
        "&sort=alphabetic&subject=Lockergnome Submission&email=bob@pad.example&realname=Bob & Co&Name=Pad Lite"
        "&Version=1.0&Size=2&Download=http://pad.example/padlite.zip&Homepage=http://pad.example/"
        "&Status=Time Limit Demo&Price=&Requirements=Windows 95 and NT&Folder=Program&g=Tiny pad."
        "&k=2048 bytes&E-Mail=bob@pad.example&why=Tiny pad."},
    {"POST /_vti_bin/shtml.dll/Working/form_sub95_utilities.htm HTTP/1.0",
        "VTI-GROUP=0&Name of the Program=Pad Lite&Type of Program=Utilities&Company/Authors Name=Pad Works - Bob & Co"
        "&Version=1.0&Price=&Installed Size=&file name=padlite.zip"
        "&Where can this program be downloaded? =http://pad.example/padlite.zip"
        "&Home page for the program=http://pad.example/&Company/Authors Homepage if different="
        "&Program Description=Tiny pad.\r\n\r\nSoftware submitted with Quillet"
        "&Person submitting the program for Review=Bob & Co&email=bob@pad.example&Revised Request=ON&B1=Submit"},
    {"POST /cgi-bin/web552ea/FormMail.pl HTTP/1.0",
        "recipient=submit@sharedir.example&redirect=http://sharedir.example/thanks.html&subject=Upload&Type=UPDATE"
        "&Product=Time Limited Demo&Shareware Title=Pad Lite&Ver=1.0&Shareware URL=http://pad.example/"
        "&email=bob@pad.example&Screen Shot=http://&Download W95=http://pad.example/padlite.zip"
        "&Size95=2048 bytes&Download WNT 4.0=http://pad.example/padlite.zip&SizeWNT 4.0=2048 bytes&Price="
        "&category1=Editors&category2=Select Category 2&Description=Tiny pad.&"},
    {"POST /cgi-bin/mailform.cgi HTTP/1.0",
        "email_form_to=submit@csw.example,bob@pad.example&email_from=bob@pad.example&email_subject=Submit Shareware"
        "&email_template_filename=submit.eml&response_filename=promote.html&WHICH=*** UPDATE ***&COMPANY=Pad Works"
        "&EMAIL=bob@pad.example&PROG=Pad Lite&VER=1.0&COST=&DIRECTORY=&FILE=padlite&SIZE=2&FDATE=12//05"
        "&HOME=http://pad.example/&SCREEN=http://&SHORT=&LONG=Tiny pad.&DOWN1=http://pad.example/padlite.zip&DOWN2="},
    {"POST /cgi-bin/links.pl HTTP/1.0",
        "recipient=submit@sshak.example, editor@sshak.test&title=Pad Lite&url=http://pad.example/padlite.zip"
        "&description=Tiny pad.&desctitle=Pad Works&descurl=http://pad.example/&section=Text&"},
};

const char* const kCompletedLog[] = {
    "The Essential Shareware Pages: Completed HTTP Post",
    "Shareware Intercom: Completed HTTP Post",
    "Winsock Warehouse: Completed HTTP Post",
    "File King: Completed HTTP Post",
    "Lockergnome: Completed HTTP Post",
    "Shareware Junkies: Completed HTTP Post",
    "Shareware Directory: Completed HTTP Post",
    "c:\\shareware: Completed HTTP Post",
    "Software Shak: Completed HTTP Post",
};

struct RecordCase
{
    const char* name;
    ProgramRecord (*record)();
    const Expected* expected;
};

class SiteBodies : public BatchSubmit, public ::testing::WithParamInterface<RecordCase>
{
};

TEST_P(SiteBodies, EachSiteReceivesItsExactRequest)
{
    const RecordCase& c = GetParam();
    startPeer();
    const ProgramRecord record = c.record();
    writeProgram(base, record);

    const BatchResult result = submit(record.name);
    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    QStringList log;
    for (const char* line : kCompletedLog)
        log.append(s(line));
    EXPECT_EQ(result.out, log);
    EXPECT_TRUE(result.err.contains(s("Shareware Submission is complete")));

    const QList<RecordedRequest> sent = received();
    ASSERT_EQ(sent.size(), 9);
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(sent[i].requestLine.toStdString(), c.expected[i].requestLine);
        EXPECT_EQ(formDecoded(sent[i].body).toStdString(), c.expected[i].body) << c.expected[i].requestLine;
        EXPECT_TRUE(sent[i].head.contains("\r\nContent-Type: application/x-www-form-urlencoded\r\n"));
        EXPECT_TRUE(sent[i].head.contains("\r\nContent-Length: " + QByteArray::number(sent[i].body.size())));
    }
}

INSTANTIATE_TEST_SUITE_P(Records, SiteBodies,
    ::testing::Values(RecordCase{"NewListings", &zipAndGo, kZipAndGo}, RecordCase{"Updates", &padLite, kPadLite}),
    [](const ::testing::TestParamInfo<RecordCase>& info) { return std::string(info.param.name); });

// Every row of the pick-list mappings: the 21 form pages of swjunkie with the status and
// platform texts going round beside them, plus texts that match no row.
struct MappingCase
{
    const char* category;
    const char* page; // nullptr: no page
    const char* status;
    const char* licencia; // nullptr: no field
    const char* product;
    const char* platform;
    const char* os;
};

class Mappings : public BatchSubmit, public ::testing::WithParamInterface<MappingCase>
{
};

TEST_P(Mappings, PickListTextsBecomeTheSitesValues)
{
    const MappingCase& c = GetParam();
    startPeer();
    ProgramRecord record = padLite();
    record.fields[s("swjunkiepd")] = s(c.category);
    record.fields[s("status")] = s(c.status);
    record.fields[s("platforms")] = s(c.platform);
    record.ticked = {s("shareinup"), s("swjunkienew"), s("sharedirnew")};
    writeProgram(base, record);

    const BatchResult result = submit(record.name);
    const QList<RecordedRequest> sent = received();
    // A category without a form page leaves swjunkie refused: the run completes, not all sent.
    EXPECT_EQ(result.exitCode, sent.size() == 3 ? 0 : 3) << result.err.toStdString();
    ASSERT_EQ(sent.size(), c.page ? 3 : 2);
    auto field = [](const char* key, const char* value) { return QByteArray("&") + key + "=" + value + "&"; };
    const QByteArray sharein = formDecoded(sent[0].body);
    if (c.licencia)
        EXPECT_TRUE(sharein.contains(field("Licencia", c.licencia))) << sharein.constData();
    else
        EXPECT_FALSE(sharein.contains("Licencia=")) << sharein.constData();
    if (c.page) {
        EXPECT_EQ(sent[1].requestLine, QByteArray("POST /_vti_bin/shtml.dll/Working/") + c.page + " HTTP/1.0");
        EXPECT_TRUE(formDecoded(sent[1].body).contains(field("Type of Program", c.category)));
    } else {
        EXPECT_TRUE(result.out.contains(QStringLiteral("Shareware Junkies: Error Posting - No form page for the "
                                                       "category \"%1\"")
                                            .arg(s(c.category))));
    }
    const QByteArray sharedir = formDecoded(sent.last().body);
    if (c.product)
        EXPECT_TRUE(sharedir.contains(field("Product", c.product))) << sharedir.constData();
    else
        EXPECT_FALSE(sharedir.contains("Product=")) << sharedir.constData();
    if (c.os)
        EXPECT_TRUE(sharedir.contains(field("OS", c.os))) << sharedir.constData();
    else
        EXPECT_FALSE(sharedir.contains("OS=")) << sharedir.constData();
}

INSTANTIATE_TEST_SUITE_P(Rows, Mappings,
    ::testing::Values(MappingCase{"Archive & Compression", "form_sub95_archive.htm", "Feature Limit Demo",
                          "Commercial demo", "Feature Limited Demo", "Windows 95", "95"},
        MappingCase{"Business", "form_sub95_business.htm", "Time Limit Demo", "Commercial demo", "Time Limited Demo",
            "Windows NT", "NT4"},
        MappingCase{"Clipboard", "form_sub95_clip.htm", "Public Domain", "Freeware", "Public Domain",
            "Windows 95 and NT", nullptr},
        MappingCase{"Database & PIM's", "form_sub95_data.htm", "Freeware", "Freeware", "Freeware", "Windows 95", "95"},
        MappingCase{"Desktop", "form_sub95_desktop.htm", "Shareware", "Shareware", "Shareware", "Windows NT", "NT4"},
        MappingCase{
            "Educational", "form_sub95_educ.htm", "Beta", "Shareware", "Beta/Prerelease", "Windows 3.x", nullptr},
        MappingCase{"Email", "form_sub95_email.htm", "Nagware", nullptr, nullptr, "Windows 95", "95"},
        MappingCase{"Ftp", "form_sub95_ftp.htm", "beta", nullptr, nullptr, "windows nt", nullptr},
        MappingCase{"Graphics", "form_sub95_graphics.htm", "Feature Limit Demo", "Commercial demo",
            "Feature Limited Demo", "Windows NT", "NT4"},
        MappingCase{"Home & Hobby", "form_sub95_home.htm", "Time Limit Demo", "Commercial demo", "Time Limited Demo",
            "Windows 95", "95"},
        MappingCase{"Internet Miscellaneous", "form_sub95_internet.htm", "Public Domain", "Freeware", "Public Domain",
            "Windows NT", "NT4"},
        MappingCase{"Miscellaneous", "form_sub95_misc.htm", "Freeware", "Freeware", "Freeware", "Windows 95", "95"},
        MappingCase{"Multimedia", "form_sub95_multimed.htm", "Shareware", "Shareware", "Shareware", "Windows 95", "95"},
        MappingCase{"PC Games", "form_sub95_pcgames.htm", "Beta", "Shareware", "Beta/Prerelease", "Windows NT", "NT4"},
        MappingCase{"Programming", "form_sub95_program.htm", "Shareware", "Shareware", "Shareware", "Windows 95", "95"},
        MappingCase{"Screensavers", "form_sub95_screen.htm", "Freeware", "Freeware", "Freeware", "Windows NT", "NT4"},
        MappingCase{"Security", "form_sub95_security.htm", "Beta", "Shareware", "Beta/Prerelease", "Windows 95", "95"},
        MappingCase{"Utilities", "form_sub95_utilities.htm", "Shareware", "Shareware", "Shareware", "Windows 95", "95"},
        MappingCase{"Anti-Virus", "form_sub95_virus.htm", "Shareware", "Shareware", "Shareware", "Windows 95", "95"},
        MappingCase{"Webpage Creation & Tools", "form_sub95_html.htm", "Shareware", "Shareware", "Shareware",
            "Windows 95", "95"},
        MappingCase{
            "Words & Editors", "form_sub95_words.htm", "Shareware", "Shareware", "Shareware", "Windows 95", "95"},
        MappingCase{"utilities", nullptr, "Shareware", "Shareware", "Shareware", "Windows 95", "95"}));

TEST_F(BatchSubmit, OutcomesAreLoggedAndTheRunGoesOn)
{
    quint16 closedPort = 0;
    {
        PeerProcess gone(s("http_peer.py"), {s("--record"), base.file(s("gone")), s("--lifetime"), s("30")});
        ASSERT_TRUE(gone.started());
        closedPort = gone.port();
    }
    startPeer({s("--route"), s("/cgi-bin/cgiwrap/ashmoor/suggest_shareware.pl=302 Found"), s("--route"),
        s("/cgi-bin/formmail.cgi=302 Moved Temporarily"), s("--route"), s("/cgi-bin/links.pl=302 Document Found"),
        s("--route"), s("/submit.cgi=404 Not Found")});
    base.write(s("cat/catalogue.dat"),
        catalogueFor(peer->port(), {{s("fking"), "HOST=127.0.0.1:" + QByteArray::number(closedPort) + "\r\n"}}));
    ProgramRecord record = zipAndGo();
    record.ticked = {s("essennew"), s("warehousenewcb"), s("fkingnew"), s("lgnew"), s("cswnew"), s("sshaknew")};
    writeProgram(base, record);

    const BatchResult result = submit(record.name);
    // The run completed with failed sites.
    EXPECT_EQ(result.exitCode, 3) << result.err.toStdString();
    ASSERT_EQ(result.out.size(), 6) << result.out.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(result.out[0], s("Essential Shareware Pages: Completed HTTP Post"));
    EXPECT_EQ(result.out[1], s("Winsock Warehouse: Error Posting - 151: 404 Not Found"));
    EXPECT_TRUE(result.out[2].startsWith(s("File King: Error Posting - 10061: "))) << result.out[2].toStdString();
    EXPECT_EQ(result.out[3], s("Lockergnome: Completed HTTP Post"));
    EXPECT_EQ(result.out[4], s("c:\\shareware: Completed HTTP Post"));
    EXPECT_EQ(result.out[5], s("Software Shak: Completed HTTP Post"));
    EXPECT_EQ(received().size(), 5);
    // Standard error says each site as its turn comes, by its name on the Sites page.
    QStringList started = result.err.split(QLatin1Char('\n')).filter(QRegularExpression(s("^\\[\\d+/\\d+\\] ")));
    EXPECT_EQ(started.size(), 6) << result.err.toStdString();
    EXPECT_EQ(started.value(3), s("[4/6] Lockergnome")) << result.err.toStdString();
    EXPECT_TRUE(started.value(5).startsWith(s("[6/6] "))) << result.err.toStdString();

    const BatchResult quiet = runQuillet(base.path(), {s("--submit"), record.name, s("--quiet")});
    EXPECT_FALSE(quiet.err.contains(s("[1/6]"))) << quiet.err.toStdString();
}

TEST_F(BatchSubmit, FailedCheckEndsWithItsMessageAndNonZeroStatus)
{
    startPeer();
    ProgramRecord record = zipAndGo();
    record.fields[s("bytesize")] = s("15k");
    writeProgram(base, record);
    const BatchResult result = submit(record.name);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.out.isEmpty());
    EXPECT_TRUE(result.err.contains(s("Invalid Byte Size")));
    EXPECT_FALSE(result.err.contains(s("Shareware Submission is complete")));
    EXPECT_TRUE(received().isEmpty());
}

TEST_F(BatchSubmit, UnknownProgramAndHelp)
{
    const BatchResult unknown = submit(s("Nothing Here"));
    EXPECT_EQ(unknown.exitCode, 2);
    EXPECT_TRUE(unknown.err.contains(s("Nothing Here")));
    EXPECT_FALSE(QFile::exists(base.file(s("data/Nothing Here.dat"))));

    const BatchResult help = runQuillet(base.path(), {s("--help")});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.join(QLatin1Char('\n')).contains(s("--submit NAME")));
}

} // namespace
