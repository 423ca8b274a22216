// Form bodies as a server's form parser reads them: Python's urllib.parse.parse_qsl, run on what
// the recording peer received, gives back every name and value exactly and in order.
#include "submit/FormEncoding.h"
#include "FakeRunWindow.h"
#include "submit/FormSite.h"
#include "submit/RecipeBook.h"
#include "support/PeerProcess.h"
#include "support/TempBase.h"
#include "support/Text.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>

#include <gtest/gtest.h>

using namespace recipe;

namespace {

const Mapping kType{"status", {{"Shareware", "Database & PIM's"}}};

// Names with blanks, "?" and "/", as the sites' own forms have them.
const FormRecipe kRecipe{.entry = "test",
    .script = {text("/cgi-bin/form.cgi")},
    .texts = {.label = "Test Site"},
    .fields = {field("Name of the Program", {control("appname")}),
        field("Where can this program be downloaded? ", {control("dl1")}), mappedField("Type of Program", kType),
        field("Company/Authors Name", {control("compname")}), field("Price", {control("price")}),
        lastField("Description", {control("longdesc")})}};

// Every byte from 0x80 to 0xFF as the Windows code page reads it.
QString highBytes()
{
    QByteArray bytes;
    for (int b = 0x80; b <= 0xff; ++b)
        bytes += char(b);
    return decodeText(bytes, TextEncoding::Windows1252);
}

struct Case
{
    const char* name;
    TextEncoding encoding;
    const char* codec; // how the parser reads the bytes; latin-1 compares them one to one
};

class FormEncoding : public ::testing::TestWithParam<Case>
{
};

TEST_P(FormEncoding, ParserGetsBackEveryValue)
{
    TempBase base;
    PeerProcess peer(s("http_peer.py"), {s("--record"), base.file(s("received")), s("--lifetime"), s("60")});
    ASSERT_TRUE(peer.started()) << peer.errors().toStdString();

    FakeRunWindow w;
    w.encoding = GetParam().encoding;
    w.texts = {{s("appname"), s("Zip & Go=1 + 100% off")}, {s("dl1"), s("http://x.example/get?a=1&b=2#top")},
        {s("status"), s("Shareware")}, {s("compname"), s("Caf\u00e9 ") + highBytes()}, {s("price"), s("  ")},
        {s("longdesc"), s("Line one;\r\nline two\r\n\ttabbed \"quoted\" <b>")}};
    SiteEndpoints endpoints;
    endpoints.host = s("127.0.0.1:") + QString::number(peer.port());
    SiteVisit visit{w, w.channels, SiteCatalogue::entries().front(), endpoints, 0};
    postFormRecipe(kRecipe, visit);

    const QStringList files = QDir(base.file(s("received"))).entryList({s("*.req")}, QDir::Files);
    ASSERT_EQ(files.size(), 1);
    QProcess parser;
    parser.start(s("/usr/bin/python3"),
        {s(QUILLET_TEST_DATA_DIR "/forms/parse_form.py"), base.file(s("received/") + files[0]), s(GetParam().codec)});
    ASSERT_TRUE(parser.waitForFinished(20000));
    ASSERT_EQ(parser.exitCode(), 0) << parser.readAllStandardError().toStdString();
    const QJsonArray pairs = QJsonDocument::fromJson(parser.readAllStandardOutput()).array();

    // What the parser should read: the record's text, as bytes of its encoding where it reads latin-1.
    const auto asRead = [&](const QString& text) {
        return GetParam().encoding == TextEncoding::Windows1252
            ? QString::fromLatin1(encodeText(text, TextEncoding::Windows1252))
            : text;
    };
    const std::pair<QString, QString> expected[] = {{s("Name of the Program"), w.texts[s("appname")]},
        {s("Where can this program be downloaded? "), w.texts[s("dl1")]}, {s("Type of Program"), s("Database & PIM's")},
        {s("Company/Authors Name"), w.texts[s("compname")]}, {s("Price"), s("  ")},
        {s("Description"), w.texts[s("longdesc")]}};
    ASSERT_EQ(pairs.size(), qsizetype(std::size(expected))) << QJsonDocument(pairs).toJson().toStdString();
    for (qsizetype i = 0; i < pairs.size(); ++i) {
        EXPECT_EQ(pairs[i][0].toString(), expected[i].first);
        EXPECT_EQ(pairs[i][1].toString(), asRead(expected[i].second)) << expected[i].first.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Records, FormEncoding,
    ::testing::Values(
        Case{"Utf8", TextEncoding::Utf8, "utf-8"}, Case{"Windows1252", TextEncoding::Windows1252, "latin-1"}),
    [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

// A long value asked for again is answered from the last one; the same text in the other encoding,
// a copy changed in place and another text of the same length each get their own bytes.
TEST(FormEncodingLongValue, AskedAgainOrChangedGetsItsOwnBytes)
{
    const QString block = s("caf\u00e9 & more\r\n").repeated(400);
    QString changing = block;
    const QString asked = changing;
    const QByteArray utf8 = formEncoded(asked, TextEncoding::Utf8).toLatin1();
    EXPECT_TRUE(utf8.startsWith("caf%C3%A9+%26+more%0D%0A")) << utf8.left(40).constData();
    changing[0] = QLatin1Char('C');
    QString sameLength = block;
    sameLength[1] = QLatin1Char('A');
    auto fresh = [](const QString& text, TextEncoding encoding) {
        return formEncoded(QString(text.constData(), text.size()), encoding);
    };
    const QString texts[] = {asked, changing, sameLength};
    const TextEncoding encodings[] = {TextEncoding::Utf8, TextEncoding::Windows1252};
    QString expected[3][2];
    for (int t = 0; t < 3; ++t)
        for (int e = 0; e < 2; ++e)
            expected[t][e] = fresh(texts[t], encodings[e]);
    // Each text in both encodings in turn, then again: only the originals are asked for.
    for (int round = 0; round < 2; ++round)
        for (int t = 0; t < 3; ++t)
            for (int e = 0; e < 2; ++e)
                EXPECT_EQ(formEncoded(texts[t], encodings[e]), expected[t][e]) << "text " << t << ", encoding " << e;
}

} // namespace
