// Sites of one's own in the window: their rows after the built-in ones, a refused definition's
// row, and their ticks in the record without changing a record that never had them.
#include "app/ControlText.h"
#include "app/TForm1.h"
#include "support/FakeDialogs.h"
#include "support/TempBase.h"
#include "support/Text.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>

#include <gtest/gtest.h>

namespace {

// The window built in a base folder that has a good and a broken definition.
class UserSitesPage : public ::testing::Test
{
protected:
    static TempBase& prepared(TempBase& base)
    {
        base.write(s("cat/sites/a.site"),
            "[site]\nKEY=Mine\nLABEL=My Own Site\nCHANNEL=form\nURL=http://h.example/\n[fields]\na={appname}\n");
        base.write(s("cat/sites/b.site"), "[site]\nKEY=Bad\nLABEL=Bad\nCHANNEL=fax\n");
        QDir::setCurrent(base.path());
        return base;
    }

    UserSitesPage() { QDir::setCurrent(m_cwd); }

    QCheckBox* box(const char* name) { return form.findChild<QCheckBox*>(s(name)); }

    QString m_cwd = QDir::currentPath();
    TempBase base;
    FakeDialogs fake;
    TempBase& m_prepared = prepared(base);
    TForm1 form;
};

} // namespace

TEST_F(UserSitesPage, TheRowsFollowTheBuiltInOnesAndARefusedOneSaysWhy)
{
    ASSERT_NE(box("Minenew"), nullptr);
    EXPECT_EQ(box("Mineup")->text(), s("Update My Own Site"));
    const auto* refused = form.findChild<QLabel*>(s("refusedsite"));
    ASSERT_NE(refused, nullptr);
    EXPECT_EQ(refused->text(), s("Not used: cat/sites/b.site:4: CHANNEL must be form, get, mail or ftp, not fax"));
    // Below the last built-in row.
    EXPECT_GT(box("Minenew")->y(), box("otbanewcb")->y());
    box("Minenew")->setChecked(true);
    EXPECT_TRUE(form.sitespage()->tickcount()->text().startsWith(s("1 of 58 ")));
}

TEST_F(UserSitesPage, ARecordWithoutTheirKeysLoadsAndSavesUnchanged)
{
    form.setBasedir(base.path());
    setControlText(form.appname(), s("Old Pad"));
    form.savesite();
    const QByteArray old = base.read(s("data/Old Pad.dat"));
    EXPECT_FALSE(old.contains("Mine"));

    form.appnameChange();
    form.savesite();
    EXPECT_EQ(base.read(s("data/Old Pad.dat")), old);

    // A tick goes after every built-in key, and a cleared one stays where it was written.
    box("Minenew")->setChecked(true);
    form.savesite();
    EXPECT_EQ(base.read(s("data/Old Pad.dat")), old + "Minenew=1\r\n");
    setControlText(form.appname(), s("Other Pad"));
    form.appnameChange();
    EXPECT_FALSE(box("Minenew")->isChecked());
    setControlText(form.appname(), s("Old Pad"));
    form.appnameChange();
    EXPECT_TRUE(box("Minenew")->isChecked());
    box("Minenew")->setChecked(false);
    form.savesite();
    EXPECT_EQ(base.read(s("data/Old Pad.dat")), old + "Minenew=0\r\n");
}
