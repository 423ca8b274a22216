// PAD files of every version and encoding read into listing values, each file with the values it
// must give and what the summary must say was left out.
#include "pad/PadImport.h"
#include "pad/PadExport.h"
#include "support/Text.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {

QByteArray padFile(const char* name)
{
    QFile file(QStringLiteral(QUILLET_TEST_DATA_DIR "/pad/") + QString::fromLatin1(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

PadImport importOf(const QByteArray& bytes, QString* error = nullptr)
{
    QString why;
    const std::optional<PadDocument> pad = PadDocument::parse(bytes, &why);
    if (error)
        *error = why;
    return pad ? PadImport::from(*pad, {{s("tucowspd"), {s("Games"), s("File Compression")}}}) : PadImport{};
}

struct Case
{
    const char* file;
    std::vector<std::pair<const char*, const char*>> values; // control -> value; "" must be absent
    std::vector<const char*> leftOut; // words each left-out line must hold, in order
};

const Case kCases[] = {
    {"v4.xml",
        {{"appname", "Zip Go"}, {"compname", "Brightfen Software"}, {"conname", "Ann Author"},
            {"conmail", "ann@brightfen.example"}, {"pubmail", "info@brightfen.example"}, {"conphone", "+1 555 0100"},
            {"confax", "+1 555 0101"}, {"conaddr", "4 Mill Road"}, {"concity", "Harrowby"}, {"constate", "OH"},
            {"conzip", "44101"}, {"concountry", "USA"}, {"pubpage", "http://brightfen.example/"},
            {"char8name", "zipgo21"}, {"filename", "zipgo21.zip"}, {"version", "2.1"}, {"day", "4"}, {"month", "7"},
            {"year", "99"}, {"platforms", "Windows 95 and NT"}, {"bytesize", "1500000"}, {"price", "15.00"},
            {"status", "Shareware"}, {"installer", "Install/Uninstall"}, {"expireafter", "30"}, {"eval", "30 days"},
            {"expiredate", "31-1-2030"}, {"appurl", "http://brightfen.example/zipgo.html"},
            {"dl1", "http://brightfen.example/zipgo21.zip"}, {"dl2", "ftp://ftp.brightfen.example/zipgo21.zip"},
            {"screenshot", "http://brightfen.example/shot.gif"}, {"shortdesc", "Zip files on the go"},
            {"longdesc", "Zip Go packs files fast.\nIt unpacks them too."}, {"Memo2", "Faster packing."},
            {"tucowspd", "File Compression"}, {"dl3", ""}, {"instsize", ""}},
        {}},
    {"v1.xml",
        {{"appname", "Mill Notes"}, {"conname", "Bea Baker"}, {"conmail", "bea@oldmill.example"},
            {"status", "Feature Limit Demo"}, {"platforms", "Windows 95"}, {"bytesize", "204800"},
            {"char8name", "millnote"}, {"filename", "MILLN10.ZIP"}, {"year", "98"}, {"longdesc", "Keeps notes."}},
        {}},
    {"v2.xml",
        {{"status", "Freeware"}, {"platforms", "Windows NT"}, {"installer", "Install Feature Only"},
            {"bytesize", "2621440"}, {"eval", "25 uses"}, {"expireafter", ""}, {"char8name", "ternclk"},
            {"filename", "ternclk.zip"}, {"version", "3.2.1"}},
        {"Expires After", "25 uses"}},
    {"v3-crlf-unknown.xml",
        {{"appname", "Wren Pad"}, {"status", "Beta"}, {"platforms", "Windows 95"},
            {"longdesc", "Line one.\nLine two."}},
        {"Platform", "Linux, Mac OS X"}},
    {"utf8-bom.xml", {{"compname", "Café Søft"}, {"appname", "Crème"}, {"shortdesc", "Brûlée in 45 “characters”"}}, {}},
    {"utf16.xml", {{"compname", "Café Søft"}, {"shortdesc", "Brûlée in 45 “characters”"}}, {}},
    {"cp1252.xml", {{"compname", "Café Søft"}, {"shortdesc", "Brûlée in 45 “characters”"}}, {}},
    {"missing-sections.xml", {{"appname", "Bare"}, {"compname", ""}, {"version", ""}}, {}},
    {"overlong.xml",
        {{"appname", "Too Long"}, {"version", "1.0"}, {"shortdesc", ""}, {"char8name", ""}, {"filename", ""},
            {"year", ""}, {"status", ""}, {"platforms", ""}, {"installer", ""}, {"bytesize", ""}},
        {"8 Character Name", "Application Filename", "Year", "1975", "Platform", "Linux", "File Size", "12 MB",
            "Status", "Commercial", "Install", "Sometimes", "Short Description", "the field takes 46"}},
};

TEST(PadImport, EachFileGivesItsValuesAndSaysWhatItLeftOut)
{
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.file);
        QString error;
        const PadImport result = importOf(padFile(c.file), &error);
        ASSERT_TRUE(error.isEmpty()) << error.toStdString();
        for (const auto& [control, value] : c.values) {
            if (!*value)
                EXPECT_FALSE(result.values.contains(s(control))) << control;
            else
                EXPECT_EQ(result.values.value(s(control)).toStdString(), value) << control;
        }
        // Every expected word turns up, in order, across the left-out lines.
        const QString leftOut = result.leftOut.join(QLatin1Char('\n'));
        qsizetype at = 0;
        for (const char* word : c.leftOut) {
            const qsizetype found = leftOut.indexOf(s(word), at);
            EXPECT_GE(found, 0) << word << " in\n" << leftOut.toStdString();
            at = found < 0 ? at : found;
        }
        if (c.leftOut.empty()) {
            EXPECT_TRUE(result.leftOut.isEmpty()) << leftOut.toStdString();
        }
        EXPECT_EQ(result.filled.size(), result.values.size());
    }
}

TEST(PadImport, DamagedOrForeignFilesGiveOneLineErrors)
{
    for (const char* file : {"damaged.xml", "not-pad.xml"}) {
        QString error;
        EXPECT_FALSE(PadDocument::parse(padFile(file), &error)) << file;
        EXPECT_FALSE(error.isEmpty());
        EXPECT_FALSE(error.contains(QLatin1Char('\n')));
    }
    QString error;
    EXPECT_FALSE(PadDocument::parse("<?xml version=\"1.0\" encoding=\"koi8-r\"?><XML_DIZ_INFO/>", &error));
    EXPECT_TRUE(error.contains(s("koi8-r")));
}

TEST(PadExport, ImportOfAnExportGivesBackEveryMappedValue)
{
    const PadImport first = importOf(padFile("v4.xml"));
    ListingValues record = first.values;
    record.remove(s("tucowspd")); // a site's category is no PAD field
    // Fields the format holds besides those the file filled, and fields it does not hold.
    // An ellipsis in the author's text is the author's, not a hint left in the field.
    record.insert(s("longdesc"), s("Line one...\r\nLine two & <three>."));
    record.insert(s("status"), s("Time Limit Demo"));
    record.insert(s("instsize"), s("123"));
    record.insert(s("dl5"), s("ftp://... or http://..."));

    const PadExport out = PadExport::from(record);
    EXPECT_TRUE(out.xml.startsWith("<?xml version=\"1.0\" encoding=\"UTF-8\"?>"));
    EXPECT_TRUE(out.xml.contains("<Program_Category_Class></Program_Category_Class>"));
    EXPECT_TRUE(out.xml.contains("<File_Size_K>1465</File_Size_K>"));
    EXPECT_TRUE(out.leftOut.isEmpty()) << out.leftOut.join(QLatin1Char('\n')).toStdString();

    const PadImport back = importOf(out.xml);
    for (auto it = record.cbegin(); it != record.cend(); ++it) {
        if (it.key() == QLatin1String("instsize") || it.key() == QLatin1String("dl5")) {
            EXPECT_FALSE(back.values.contains(it.key()));
            continue;
        }
        EXPECT_EQ(
            back.values.value(it.key()).toStdString(), QString(it.value()).replace(s("\r\n"), s("\n")).toStdString())
            << it.key().toStdString();
    }
}

TEST(PadExport, ValuesTheFormatCannotTakeAreListed)
{
    ListingValues record{{s("appname"), s("X")}, {s("shortdesc"), QString(46, QLatin1Char('a'))},
        {s("platforms"), s("Windows 3.x")}, {s("expiredate"), s("soon")},
        {s("longdesc"), QString(2001, QLatin1Char('b'))}};
    const QString leftOut = PadExport::from(record).leftOut.join(QLatin1Char('\n'));
    for (const char* word : {"Char_Desc_45", "Windows 3.x", "soon", "Char_Desc_2000", "Char_Desc_450"})
        EXPECT_TRUE(leftOut.contains(s(word))) << word << "\n" << leftOut.toStdString();
}

} // namespace
