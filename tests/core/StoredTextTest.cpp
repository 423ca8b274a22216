#include "core/FreeName.h"
#include "core/TerminalText.h"
#include "core/TextEncoding.h"

#include "support/TempBase.h"

#include <gtest/gtest.h>

namespace {

// UTF-8 only when all of the file is: a cut-off sequence at the end is a Windows-1252 letter.
TEST(TextEncoding, Utf8OnlyWhenEveryByteIs)
{
    struct Case
    {
        QByteArray bytes;
        TextEncoding found;
    };
    const Case cases[] = {
        {"plain", TextEncoding::Utf8},
        {"caf\xc3\xa9", TextEncoding::Utf8},
        {"\xef\xbb\xbf"
         "bom",
            TextEncoding::Utf8},
        {"\xf0\x9f\x93\x9d note", TextEncoding::Utf8},
        {"caf\xe9", TextEncoding::Windows1252}, // looks like the start of a 3-byte sequence
        {"na\xc3", TextEncoding::Windows1252},
        {"\xf0\x9f\x93", TextEncoding::Windows1252},
        {"\xc0\xaf", TextEncoding::Windows1252}, // an over-long "/"
        {"\xed\xa0\x80", TextEncoding::Windows1252}, // a surrogate
        {"\xf4\x90\x80\x80", TextEncoding::Windows1252}, // past U+10FFFF
        {"\x80 euro", TextEncoding::Windows1252},
        // Past and across the eight-byte blocks plain ASCII is checked in.
        {"12345678\x80", TextEncoding::Windows1252},
        {"1234567\xc3\xa9 and then some more", TextEncoding::Utf8},
        {"a longer run of plain ASCII before caf\xe9", TextEncoding::Windows1252},
        {"a longer run of plain ASCII before caf\xc3\xa9 and after it", TextEncoding::Utf8},
        {"sixteen bytes...\xe2\x82", TextEncoding::Windows1252},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(detectEncoding(c.bytes), c.found) << c.bytes.toHex().toStdString();
        EXPECT_EQ(encodeText(decodeText(c.bytes, c.found), c.found), c.bytes) << c.bytes.toHex().toStdString();
    }
}

TEST(FreeName, ATakenNameGetsTheNextNumber)
{
    TempBase base;
    const QString stem = base.file(QStringLiteral("reports/run"));
    base.write(QStringLiteral("reports/run-2.json"), "someone else's");
    EXPECT_EQ(takeFreeName(stem, QStringLiteral(".json")), stem + QStringLiteral(".json"));
    EXPECT_EQ(takeFreeName(stem, QStringLiteral(".json")), stem + QStringLiteral("-3.json"));
    EXPECT_EQ(base.read(QStringLiteral("reports/run-2.json")), QByteArray("someone else's"));
    // A folder that is not there: the plain name, for the write to fail with.
    const QString missing = base.file(QStringLiteral("none/run"));
    EXPECT_EQ(takeFreeName(missing, QStringLiteral(".json")), missing + QStringLiteral(".json"));
}

TEST(TerminalText, ControlCharactersAreShownNotObeyed)
{
    EXPECT_EQ(terminalSafe(QStringLiteral("404 \x1b[2J\r gone\u009b\x7f")),
        QStringLiteral("404 \\x1b[2J\\x0d gone\\u009b\\x7f"));
    EXPECT_EQ(terminalSafe(QStringLiteral("two\nlines\tand caf\u00e9")), QStringLiteral("two\nlines\tand caf\u00e9"));
}

} // namespace
