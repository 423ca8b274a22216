#include "core/LineFile.h"
#include "core/Errors.h"
#include "core/RecordName.h"
#include "support/TempBase.h"

#include <gtest/gtest.h>

namespace {

TEST(LineFile, EveryLineBreakStyleEndsALineAndTheLastBreakAddsNone)
{
    const struct
    {
        QByteArray content;
        QByteArrayList lines;
    } cases[] = {
        {"", {}},
        {"a", {"a"}},
        {"a\r\n", {"a"}},
        {"a\r\nb", {"a", "b"}},
        {"a\nb\rc\r\n", {"a", "b", "c"}},
        {"a\r\r\nb", {"a", "", "b"}},
        {"\r\n\r\n", {"", ""}},
        {"a\n\rb", {"a", "", "b"}},
        {"caf\xc3\xa9\r\n\xe2\x82\xac", {"caf\xc3\xa9", "\xe2\x82\xac"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(splitLines(c.content), c.lines) << c.content.constData();
        // A memo's text splits where its bytes would.
        QStringList lines;
        for (const QByteArray& line : c.lines)
            lines.append(QString::fromUtf8(line));
        EXPECT_EQ(textToLines(QString::fromUtf8(c.content)), lines) << c.content.constData();
        EXPECT_EQ(crLfLinesText(QString::fromUtf8(c.content)), linesText(lines)) << c.content.constData();
    }
}

// A memo's file read in one pass gives what its lines joined by LF give, in either encoding.
TEST(LineFile, LineTextIsTheLinesJoinedByLf)
{
    const TempBase folder;
    const QString path = folder.file(QStringLiteral("data/memo.lds"));
    for (const QByteArray content : {"", "a", "a\r\n", "\r\n\r\n", "a\nb\rc\r\n", "a\r\r\nb\n\n",
             "caf\xc3\xa9\r\n\xe2\x82\xac", "caf\xe9\r\n\x80\r", "cut \xc3\r\nend",
             "\xef\xbb\xbf"
             "bom\r\n"}) {
        folder.write(QStringLiteral("data/memo.lds"), content);
        EXPECT_EQ(readLineText(path), readLineFile(path)->join(QLatin1Char('\n'))) << content.constData();
    }
    EXPECT_EQ(readLineText(folder.file(QStringLiteral("data/none.lds"))), std::nullopt);
}

// A long memo given LF breaks back after CR LF ones is the same text, not a copy of it.
TEST(LineFile, CrLfBreaksTakenOutAgainGiveTheTextBack)
{
    const QString text = QStringLiteral("one\ntwo\r\nthree\rfour\r\r\n").repeated(400);
    const QString crLf = withCrLfBreaks(text);
    EXPECT_EQ(crLf, QString(text).replace(QLatin1Char('\n'), QLatin1String("\r\n")));
    EXPECT_EQ(withLfBreaks(crLf).constData(), text.constData());
    EXPECT_EQ(withLfBreaks(QString(crLf.constData(), crLf.size())), text);
}

// The lines encoded as one text give the bytes of each line encoded on its own, in both encodings,
// with characters outside Windows-1252 and surrogates cut at a line's end.
TEST(LineFile, LinesEncodedAtOnceAreEachLineEncoded)
{
    const QString cut = QString(QChar(0xd83d));
    const QStringList cases[] = {{}, {QString()}, {QStringLiteral("a"), QString(), QStringLiteral("caf\u00e9 \u20ac")},
        {QStringLiteral("\u0100 not in 1252"), cut, QString(QChar(0xde00)) + QStringLiteral("x")}};
    for (const QStringList& lines : cases) {
        for (const TextEncoding encoding : {TextEncoding::Utf8, TextEncoding::Windows1252}) {
            QByteArrayList each;
            for (const QString& line : lines)
                each.append(encodeText(line, encoding));
            EXPECT_EQ(encodeText(linesText(lines), encoding), joinLines(each)) << lines.join(u'|').toStdString();
        }
    }
}

// Only a CR directly before an LF goes; the one-pass rewrite must not drop or shift anything else.
TEST(LineFile, CrLfBecomesLfAndNothingElseChanges)
{
    const char* cases[][2] = {
        {"", ""},
        {"plain", "plain"},
        {"a\r\nb\r\n", "a\nb\n"},
        {"lone\rcr\r", "lone\rcr\r"},
        {"\r\r\n\n\r", "\r\n\n\r"},
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(withLfBreaks(QString::fromLatin1(in)), QString::fromLatin1(out)) << in;
}

// A long text asked for again is answered from the last one; a changed text of the same length, or
// one changed in place, gets its own answer.
TEST(LineFile, LongTextAskedAgainOrChangedGetsItsOwnAnswer)
{
    const QString block = QStringLiteral("a line of the long description\r\n").repeated(200);
    QString changing = block;
    const QString asked = changing;
    EXPECT_EQ(withLfBreaks(asked), QString(block).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    changing[0] = QLatin1Char('A');
    QString sameLength = block;
    sameLength.replace(0, 1, QStringLiteral("B"));
    for (const QString& text : {asked, changing, sameLength, asked, changing}) {
        EXPECT_EQ(withLfBreaks(text), QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")))
            << qPrintable(text.left(12));
        EXPECT_EQ(textToLines(text), text.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts))
            << qPrintable(text.left(12));
    }
}

TEST(LineFile, WritesCrLfAfterEveryLineAndReadsBackTheSameLines)
{
    TempBase base;
    const QString path = base.file(QStringLiteral("data/x.lds"));
    const QStringList lines{QStringLiteral("first"), QString(), QStringLiteral("caf\u00e9 \u00fc")};
    writeLineFile(path, lines);
    EXPECT_EQ(base.read(QStringLiteral("data/x.lds")), QByteArray("first\r\n\r\ncaf\xc3\xa9 \xc3\xbc\r\n"));
    EXPECT_EQ(readLineFile(path), lines);

    writeLineFile(path, {});
    EXPECT_EQ(base.read(QStringLiteral("data/x.lds")), QByteArray());
    EXPECT_EQ(readLineFile(path), QStringList());
    EXPECT_FALSE(readLineFile(base.file(QStringLiteral("data/none.lds"))).has_value());
}

TEST(LineFile, FailedCreateRaisesWithThePath)
{
    TempBase base;
    const QString path = base.file(QStringLiteral("missing/x.nts"));
    try {
        writeLineFile(path, {QStringLiteral("a")});
        FAIL();
    } catch (const ECreateError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("Cannot create file ") + path);
    }
}

TEST(TextHelpers, IntegerConversionAcceptsOnlyWholeNumbers)
{
    EXPECT_EQ(toInteger(QStringLiteral("8080")), 8080);
    EXPECT_EQ(toInteger(QStringLiteral(" -12 ")), -12);
    EXPECT_EQ(toInteger(QStringLiteral("$1F")), 31);
    EXPECT_EQ(toInteger(QStringLiteral("0x10")), 16);
    for (const char* bad : {"", "abc", "12a", "1.5", "99999999999", "$", "0x"}) {
        try {
            toInteger(QString::fromLatin1(bad));
            FAIL() << bad;
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.message(), QStringLiteral("'%1' is not a valid integer value").arg(QString::fromLatin1(bad)));
        }
    }
}

TEST(TextHelpers, RecordNamesNeverLeaveTheirFolder)
{
    for (const char* bad : {".", "..", "a/b", "..\\x", "/etc/passwd", "apps", "companies"})
        EXPECT_FALSE(isSafeRecordName(QString::fromLatin1(bad))) << bad;
    for (const char* good : {"", "My App", "v1.0", "...", "a..b", "Apps", "companies2"})
        EXPECT_TRUE(isSafeRecordName(QString::fromLatin1(good))) << good;
}

} // namespace
