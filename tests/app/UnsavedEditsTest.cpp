// Unsaved edits of the shown program are never replaced or ended without asking.
#include "FormOnBase.h"

#include "ui/TFlatButton.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTest>

namespace {

class UnsavedEdits : public FormOnBase
{
protected:
    UnsavedEdits()
    {
        base.write(q("data/Two.dat"), "[APPINFO]\r\nVERSION=2\r\n");
        form.setEndAction([this] { ++ended; });
        showEdited();
    }

    // Program One, saved, then edited.
    void showEdited()
    {
        base.write(q("data/One.dat"), "[APPINFO]\r\nVERSION=1\r\n");
        form.appname()->setEditText(q("One"));
        form.appnameChange();
        form.version()->setText(q("1b"));
    }
    bool oneWasSaved() const { return base.read(q("data/One.dat")).contains("VERSION=1b\r\n"); }

    int ended = 0;
};

TEST_F(UnsavedEdits, ChangingTheProgramAsksFirst)
{
    const struct
    {
        Dialogs::Answer answer;
        const char* shownVersion;
        bool saved;
    } cases[] = {
        {Dialogs::Answer::Cancel, "1b", false}, {Dialogs::Answer::No, "2", false}, {Dialogs::Answer::Yes, "2", true}};
    for (const auto& c : cases) {
        fake.questions.clear();
        fake.answers = {c.answer};
        form.appname()->setEditText(q("Two"));
        form.appnameChange();
        EXPECT_EQ(fake.questions, QStringList{q("Would you like to save One?")});
        EXPECT_EQ(form.version()->text(), q(c.shownVersion));
        EXPECT_EQ(form.appname()->currentText(), c.answer == Dialogs::Answer::Cancel ? q("One") : q("Two"));
        EXPECT_EQ(oneWasSaved(), c.saved);
        EXPECT_FALSE(base.read(q("data/Two.dat")).contains("1b"));
        showEdited();
    }
}

TEST_F(UnsavedEdits, ExitAsksOnlyWhileTheCaptionMarksThem)
{
    QCoreApplication::processEvents();
    EXPECT_EQ(form.windowTitle(), q("Quillet 1.20b *"));
    form.Exit1()->trigger();
    EXPECT_EQ(ended, 0);
    EXPECT_EQ(fake.questions, QStringList{q("Would you like to save One?")});

    fake.answers = {Dialogs::Answer::Yes};
    form.exitb()->click();
    EXPECT_EQ(ended, 1);
    EXPECT_TRUE(oneWasSaved());
    QCoreApplication::processEvents();
    EXPECT_EQ(form.windowTitle(), q("Quillet 1.20b"));
    form.Exit1()->trigger();
    EXPECT_EQ(ended, 2);
    EXPECT_EQ(fake.questions.size(), 2);
}

TEST_F(UnsavedEdits, ANewProgramKeepsItsFieldsWhileItsNameIsTyped)
{
    fake.answers = {Dialogs::Answer::No};
    form.appname()->setEditText(QString());
    form.appnameChange();
    form.version()->setText(q("0.9"));
    fake.questions.clear();
    QTest::keyClicks(form.appname()->lineEdit(), q("New"));
    EXPECT_EQ(form.version()->text(), q("0.9"));
    EXPECT_TRUE(fake.questions.isEmpty());
}

} // namespace
