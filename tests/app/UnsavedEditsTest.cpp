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
        base.write(q("data/apps.dat"), "One\r\nTwo\r\n");
        base.write(q("data/One.dat"), "[APPINFO]\r\nVERSION=1\r\n");
        base.write(q("data/Two.dat"), "[APPINFO]\r\nVERSION=2\r\n");
        form.setEndAction([this] { ++ended; });
        show(q("One"));
        form.version->setText(q("1 edited"));
    }

    void show(const QString& name)
    {
        form.appname->setEditText(name);
        form.appnameChange();
    }
    QByteArray versionLineOf(const char* file) const
    {
        const QByteArray content = base.read(q(file));
        const qsizetype at = content.indexOf("VERSION=");
        return content.mid(at, content.indexOf('\r', at) - at);
    }
    QString caption()
    {
        QCoreApplication::processEvents();
        return form.windowTitle();
    }

    int ended = 0;
};

TEST_F(UnsavedEdits, ChangingTheProgramAsksFirst)
{
    const struct
    {
        Dialogs::Answer answer;
        const char* shownName;
        const char* shownVersion;
        const char* storedOne;
    } cases[] = {
        {Dialogs::Answer::Cancel, "One", "1 edited", "VERSION=1"},
        {Dialogs::Answer::No, "Two", "2", "VERSION=1"},
        {Dialogs::Answer::Yes, "Two", "2", "VERSION=1 edited"},
    };
    for (const auto& c : cases) {
        base.write(q("data/One.dat"), "[APPINFO]\r\nVERSION=1\r\n");
        fake.questions.clear();
        fake.answers = {c.answer};
        form.appname->setEditText(q("Two"));
        form.appnameChange();
        EXPECT_EQ(fake.questions, QStringList{q("Would you like to save One?")});
        EXPECT_EQ(form.appname->currentText(), q(c.shownName));
        EXPECT_EQ(form.version->text(), q(c.shownVersion));
        EXPECT_EQ(versionLineOf("data/One.dat"), QByteArray(c.storedOne));
        EXPECT_FALSE(base.read(q("data/Two.dat")).contains("edited"));
        // Back to One with its edit for the next case.
        show(q("One"));
        form.version->setText(q("1 edited"));
        fake.answers.clear();
    }
}

TEST_F(UnsavedEdits, CaptionMarksThemUntilSaved)
{
    EXPECT_EQ(caption(), q("Quillet 1.20b *"));
    form.SaveAppData1->trigger();
    EXPECT_EQ(caption(), q("Quillet 1.20b"));
    form.version->setText(q("1 edited again"));
    EXPECT_EQ(caption(), q("Quillet 1.20b *"));
    form.version->setText(q("1 edited"));
    EXPECT_EQ(caption(), q("Quillet 1.20b"));
}

TEST_F(UnsavedEdits, ExitAsksOnlyWhenSomethingIsUnsaved)
{
    fake.answers = {Dialogs::Answer::Cancel};
    form.Exit1->trigger();
    EXPECT_EQ(ended, 0);
    EXPECT_EQ(fake.questions, QStringList{q("Would you like to save One?")});

    fake.answers = {Dialogs::Answer::Yes};
    form.exitb->click();
    EXPECT_EQ(ended, 1);
    EXPECT_EQ(versionLineOf("data/One.dat"), QByteArray("VERSION=1 edited"));

    fake.questions.clear();
    form.Exit1->trigger();
    EXPECT_EQ(ended, 2);
    EXPECT_TRUE(fake.questions.isEmpty());
}

TEST_F(UnsavedEdits, CtrlXInATextFieldCutsInsteadOfEnding)
{
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    form.SaveAppData1->trigger();
    form.version->setFocus();
    form.version->selectAll();
    QTest::keyClick(form.version, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(form.version->text(), QString());
    EXPECT_EQ(ended, 0);
}

TEST_F(UnsavedEdits, ANewProgramKeepsItsFieldsWhileItsNameIsTyped)
{
    form.SaveAppData1->trigger();
    form.appname->setEditText(QString());
    form.appnameChange();
    form.version->setText(q("0.9"));
    fake.questions.clear();
    QTest::keyClicks(form.appname->lineEdit(), q("New"));
    EXPECT_EQ(form.version->text(), q("0.9"));
    EXPECT_TRUE(fake.questions.isEmpty()) << fake.questions.join(q("|")).toStdString();
    form.SaveAppData1->trigger();
    EXPECT_EQ(versionLineOf("data/New.dat"), QByteArray("VERSION=0.9"));
}

} // namespace
