// Typing does what it looks like: pasting into a limited field, the room left, four-digit years,
// the file size of the chosen program file, the close prompt and the program shown at start.
#include "FormOnBase.h"

#include "app/LimitedEdit.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

using TypingTest = FormOnBase;

TEST_F(TypingTest, PastingKeepsWhatFitsAndSaysWhatWasCut)
{
    struct Case
    {
        const char* field;
        const char* before;
        int cursor;
        int pasted;
        const char* expected; // x: a pasted character
        int cut;
    };
    const Case cases[] = {
        {"shortdesc", "", 0, 60, "xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx", 14},
        {"shortdesc", "", 0, 10, "xxxxxxxxxx", 0},
        {"char8name", "abcd", 2, 9, "abxxxxcd", 5}, // into the middle: the text around it stays
        {"char8name", "abcdefgh", 8, 3, "abcdefgh", 3},
        {"filename", "", 0, 16, "xxxxxxxxxxxxxxxx", 0},
    };
    for (const Case& c : cases) {
        auto* edit = qobject_cast<LimitedEdit*>(form.control(q(c.field)));
        ASSERT_NE(edit, nullptr) << c.field;
        edit->setText(q(c.before));
        edit->setCursorPosition(c.cursor);
        QApplication::clipboard()->setText(QString(c.pasted, QLatin1Char('x')));
        QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(edit->text(), q(c.expected)) << c.field << " " << c.pasted;
        EXPECT_EQ(edit->lastCut(), c.cut) << c.field << " " << c.pasted;
    }
}

TEST_F(TypingTest, LimitedFieldsShowTheRoomLeft)
{
    auto* edit = qobject_cast<LimitedEdit*>(form.shortdesc());
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->roomText(), q("46 left"));
    QTest::keyClicks(edit, q("Tiny"));
    EXPECT_EQ(edit->roomText(), q("42 left"));
    // A longer text the record brought in is kept whole and shows no count.
    edit->setText(QString(50, QLatin1Char('a')));
    EXPECT_EQ(edit->roomText(), QString());
}

TEST_F(TypingTest, AFourDigitYearIsTakenAsThatYear)
{
    const struct
    {
        const char* typed;
        const char* kept;
        const char* longdate;
    } cases[] = {
        {"2025", "25", "7-Mar-2025"}, {"1999", "99", "7-Mar-1999"}, {"05", "05", "7-Mar-2005"},
        {"2091", "2091", "7-Mar-"}, // no two-digit year stands for it
    };
    for (const auto& c : cases) {
        form.day()->setText(q("7"));
        form.month()->setText(q("3"));
        form.year()->clear();
        QTest::keyClicks(form.year(), q(c.typed));
        leave(form.year());
        EXPECT_EQ(form.year()->text(), q(c.kept)) << c.typed;
        EXPECT_EQ(form.longdate(), q(c.longdate)) << c.typed;
    }
}

TEST_F(TypingTest, TheChosenProgramFileOffersItsSize)
{
    base.write(q("files/pad.zip"), QByteArray(1234, 'z'));
    const struct
    {
        const char* typed;
        Dialogs::Answer answer;
        const char* expected;
        bool asked;
    } cases[] = {
        {"", Dialogs::Answer::No, "1234", false},
        {"1234", Dialogs::Answer::No, "1234", false},
        {"999", Dialogs::Answer::No, "999", true},
        {"999", Dialogs::Answer::Yes, "1234", true},
    };
    for (const auto& c : cases) {
        form.bytesize()->setText(q(c.typed));
        fake.questions.clear();
        fake.answers = {c.answer};
        fake.fileNames = {base.file(q("files/pad.zip"))};
        form.browseClick();
        EXPECT_EQ(form.localpath()->text(), base.file(q("files/pad.zip")));
        EXPECT_EQ(form.bytesize()->text(), q(c.expected)) << c.typed;
        EXPECT_EQ(!fake.questions.isEmpty(), c.asked) << c.typed;
    }
}

TEST_F(TypingTest, ClosingAsksOnlyWhenSomethingIsUnsaved)
{
    // A bare start.
    EXPECT_TRUE(form.FormCloseQuery());
    EXPECT_TRUE(fake.questions.isEmpty());
    // A program loaded and left as it was.
    base.write(q("data/One.dat"), "[APPINFO]\r\nVERSION=1\r\n");
    form.appname()->setEditText(q("One"));
    form.appnameChange();
    EXPECT_TRUE(form.FormCloseQuery());
    EXPECT_TRUE(fake.questions.isEmpty());
    // Edited.
    form.version()->setText(q("1b"));
    fake.answers = {Dialogs::Answer::Cancel};
    EXPECT_FALSE(form.FormCloseQuery());
    EXPECT_EQ(fake.questions, QStringList{q("Would you like to save One?")});
}

TEST_F(TypingTest, TheNextStartShowsTheProgramLastShown)
{
    base.write(q("data/One.dat"), "[APPINFO]\r\nVERSION=1\r\n");
    form.appname()->setEditText(q("One"));
    form.appnameChange();
    ASSERT_TRUE(form.close());

    TForm1 next;
    next.setBasedir(base.path());
    next.openLastProgram();
    EXPECT_EQ(next.appname()->currentText(), q("One"));
    EXPECT_EQ(next.version()->text(), q("1"));
    EXPECT_FALSE(next.hasUnsavedEdits());
}
