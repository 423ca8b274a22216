// The input rules: 8-character name, release date, digit filter and line wrapping.
#include "FormOnBase.h"

#include "batch/InputRules.h"
#include "core/Errors.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

namespace {

QString letters(int n, char c = 'a')
{
    return QString(n, QLatin1Char(c));
}

QList<int> lineLengths(const QString& text)
{
    QList<int> lengths;
    for (const QString& line : text.split(QLatin1Char('\n')))
        lengths.append(int(line.size()));
    return lengths;
}

} // namespace

TEST_F(MainWindowTest, EightCharacterNameRefusesSeparatorsAndLowersTheRest)
{
    struct Case
    {
        const char* typed;
        const char* left; // nullptr: refused with the message
    };
    const Case cases[] = {
        {"My App", nullptr},
        {"a.b", nullptr},
        {"a/b", nullptr},
        {"a(b", nullptr},
        {"a)b", nullptr},
        {"MyApp", "myapp"},
        {"my-app_1", "my-app_1"},
        {"", ""},
    };
    for (const Case& c : cases) {
        fake.shown.clear();
        form.char8name()->setText(QString::fromLatin1(c.typed));
        leave(form.char8name());
        if (c.left) {
            EXPECT_TRUE(fake.shown.isEmpty()) << c.typed;
            EXPECT_EQ(form.char8name()->text(), QString::fromLatin1(c.left)) << c.typed;
        } else {
            EXPECT_EQ(fake.shown, QStringList{QStringLiteral("You can only have alpha-numeric values in this field.")})
                << c.typed;
            EXPECT_EQ(form.char8name()->text(), QString()) << c.typed;
        }
    }
}

TEST(ReleaseDate, BuildsDayMonthAndCenturyYear)
{
    struct Case
    {
        const char* day;
        const char* month;
        const char* year;
        const char* expected;
    };
    const Case cases[] = {
        {"7", "3", "99", "7-Mar-1999"},
        {"31", "12", "79", "31-Dec-2079"},
        {"31", "12", "80", "31-Dec-1980"},
        {"", "12", "80", "Dec-1980"},
        {"1", "13", "99", "1-1999"},
        {"1", "0", "99", "1-1999"},
        {"07", "03", "05", "07-Mar-2005"},
        {"1", "1", "5", "1-Jan-205"},
        {"", "", "", ""},
        {"9", "", "", "9-"},
    };
    for (const Case& c : cases) {
        QString out = QStringLiteral("stale");
        buildLongDate(QString::fromLatin1(c.day), QString::fromLatin1(c.month), QString::fromLatin1(c.year), out);
        EXPECT_EQ(out, QString::fromLatin1(c.expected)) << c.day << "/" << c.month << "/" << c.year;
    }
}

TEST_F(MainWindowTest, ReleaseDateIsRebuiltOnLeavingAFieldAndReportsPastedNonNumbers)
{
    form.day()->setText(QStringLiteral("7"));
    form.month()->setText(QStringLiteral("3"));
    form.year()->setText(QStringLiteral("99"));
    leave(form.year());
    EXPECT_EQ(form.longdate(), QStringLiteral("7-Mar-1999"));
    EXPECT_EQ(form.ldatel()->text(), QStringLiteral("7-Mar-1999"));

    struct Case
    {
        const char* month;
        const char* year;
        const char* message;
        const char* kept;
    };
    const Case cases[] = {
        {"x3", "99", "'x3' is not a valid integer value", "7-"},
        {"3", "9y", "'9y' is not a valid integer value", "7-Mar-"},
    };
    for (const Case& c : cases) {
        fake.errors.clear();
        form.month()->setText(QString::fromLatin1(c.month));
        form.year()->setText(QString::fromLatin1(c.year));
        leave(form.month());
        EXPECT_EQ(fake.errors, QStringList{QString::fromLatin1(c.message)});
        EXPECT_EQ(form.longdate(), QString::fromLatin1(c.kept));
    }
}

TEST_F(MainWindowTest, DigitFieldsBeepAtOtherTypedCharacters)
{
    for (QLineEdit* field : {form.day(), form.month(), form.year(), form.bytesize(), form.instsize()}) {
        fake.beeps = 0;
        field->clear();
        QTest::keyClicks(field, QStringLiteral("1a"));
        QTest::keyClick(field, Qt::Key_Minus);
        QTest::keyClick(field, Qt::Key_Space);
        EXPECT_EQ(fake.beeps, 3) << field->objectName().toStdString();
        QTest::keyClick(field, Qt::Key_2);
        EXPECT_EQ(field->text(), QStringLiteral("12")) << field->objectName().toStdString();
        QTest::keyClick(field, Qt::Key_Backspace);
        EXPECT_EQ(field->text(), QStringLiteral("1")) << field->objectName().toStdString();
        EXPECT_EQ(fake.beeps, 3);
    }
    // Text that arrives by other means is not filtered.
    form.bytesize()->setText(QStringLiteral("12kb"));
    EXPECT_EQ(form.bytesize()->text(), QStringLiteral("12kb"));
    // Other fields take any character.
    fake.beeps = 0;
    QTest::keyClicks(form.version(), QStringLiteral("1.0b"));
    EXPECT_EQ(form.version()->text(), QStringLiteral("1.0b"));
    EXPECT_EQ(fake.beeps, 0);
}

TEST(WrapLines, BreaksLinesAtTheirSeventySecondCharacter)
{
    struct Case
    {
        QString text;
        QList<int> lengths;
        QString firstOfSecondLine; // "" when not checked
    };
    const QList<Case> cases = {
        {letters(100), {71, 29}, {}},
        {letters(50) + QLatin1Char(' ') + letters(100, 'b'), {50, 71, 29}, QStringLiteral("b")},
        {letters(10) + QLatin1Char('\n') + letters(100), {10, 71, 29}, {}},
        {letters(71) + QLatin1Char(' ') + letters(10), {71, 11}, QStringLiteral(" ")},
        {letters(71), {71}, {}},
        {letters(72), {71, 1}, {}},
        {letters(213), {71, 71, 71}, {}},
        {QStringLiteral("short\n\nlines"), {5, 0, 5}, {}},
    };
    for (const Case& c : cases) {
        const QString wrapped = wrapLines(c.text);
        EXPECT_EQ(lineLengths(wrapped), c.lengths) << c.text.toStdString();
        if (!c.firstOfSecondLine.isEmpty()) {
            EXPECT_EQ(wrapped.split(QLatin1Char('\n')).at(1).left(1), c.firstOfSecondLine);
        }
        // Only line breaks are added, some in place of a blank: the other characters stay in order.
        EXPECT_EQ(QString(wrapped).remove(QLatin1Char('\n')).remove(QLatin1Char(' ')),
            QString(c.text).remove(QLatin1Char('\n')).remove(QLatin1Char(' ')));
    }
    // Words break at the last blank; no blank of an earlier line is touched.
    const QString words = QStringLiteral("alpha beta ").repeated(12);
    for (const QString& line : wrapLines(words).split(QLatin1Char('\n')))
        EXPECT_LE(line.size(), 71);
    // CR LF texts keep CR LF breaks.
    EXPECT_EQ(wrapLines(letters(3) + QStringLiteral("\r\n") + letters(72)),
        letters(3) + QStringLiteral("\r\n") + letters(71) + QStringLiteral("\r\na"));
    // In a CR LF text, a lone CR or LF is a character of its line; short lines come back as they were.
    for (const QString& text :
        {QStringLiteral("a\r\r\nb\nc\r\n"), QStringLiteral("\r\n"), QString(), QStringLiteral("x\n\n")})
        EXPECT_EQ(wrapLines(text), text) << text.toStdString();
    EXPECT_EQ(wrapLines(QStringLiteral("\n") + letters(71) + QStringLiteral("\r\r\n") + letters(3)),
        QStringLiteral("\n") + letters(70) + QStringLiteral("\r\na\r\r\n") + letters(3));
    // Long texts asked for in turn, one of them changed in place meanwhile, each get their own lines.
    QString description = letters(100).repeated(60);
    const QString notes = (letters(40) + QLatin1Char(' ')).repeated(150);
    const QString asked = description;
    const QString askedWrapped = wrapLines(asked);
    description[0] = QLatin1Char('Z');
    for (const QString& text : {notes, asked, description, notes, asked, description}) {
        const QString wrapped = wrapLines(text);
        EXPECT_EQ(wrapped, wrapLines(QString(text.constData(), text.size()))) << text.left(3).toStdString();
        EXPECT_EQ(wrapped.left(1), text.left(1));
    }
    EXPECT_EQ(wrapLines(asked), askedWrapped);
}

TEST_F(MainWindowTest, WrappingIsWrittenBackIntoEitherMemo)
{
    form.longdesc()->setPlainText(letters(100));
    form.Memo2()->setPlainText(letters(50) + QLatin1Char(' ') + letters(100));
    form.longdescwrap();
    EXPECT_EQ(lineLengths(form.longdesc()->toPlainText()), (QList<int>{71, 29}));
    EXPECT_EQ(lineLengths(form.Memo2()->toPlainText()), (QList<int>{151}));
    form.memo2wrap();
    EXPECT_EQ(lineLengths(form.Memo2()->toPlainText()), (QList<int>{50, 71, 29}));
}
