// The window's pages, controls, start values, limits, tab order, menu and window-level handlers.
#include "FormOnBase.h"

#include "app/ControlText.h"
#include "app/TStringView.h"
#include "batch/RecordLayout.h"
#include "net/NetworkWait.h"
#include "ui/TFlatButton.h"
#include "ui/TLed.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

namespace {

QStringList tabTitles(const QTabWidget* tabs)
{
    QStringList titles;
    for (int i = 0; i < tabs->count(); ++i)
        titles.append(tabs->tabText(i));
    return titles;
}

QStringList items(const QComboBox* box)
{
    QStringList list;
    for (int i = 0; i < box->count(); ++i)
        list.append(box->itemText(i));
    return list;
}

} // namespace

TEST_F(MainWindowTest, WindowHasItsCaptionClientAreaAndPagesInOrder)
{
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Quillet 1.20b"));
    EXPECT_EQ(form.centralWidget()->size(), QSize(598, 404));
    EXPECT_EQ(form.centralWidget()->minimumSize(), QSize(598, 404));
    EXPECT_EQ(tabTitles(form.PageControl1()),
        (QStringList{QStringLiteral("App Info"), QStringLiteral("Company Info"), QStringLiteral("Sites"),
            QStringLiteral("Submit"), QStringLiteral("Check / Options")}));
    EXPECT_EQ(tabTitles(form.PageControl2()),
        (QStringList{QStringLiteral("General"), QStringLiteral("Locations"), QStringLiteral("Description")}));
    EXPECT_EQ(form.PageControl1()->currentWidget(), form.appinfopage());
    EXPECT_EQ(form.PageControl2()->currentWidget(), form.generalpage());
    EXPECT_EQ(form.basedir(), base.path());
    EXPECT_FALSE(form.debugmode());
    EXPECT_FALSE(form.cancelflag());
    EXPECT_FALSE(form.ftperror());
    EXPECT_TRUE(form.xfer()->isHidden());
}

TEST_F(MainWindowTest, EveryStoredFieldIsAControlOfItsName)
{
    auto expectKind = [&](QLatin1StringView name) {
        QWidget* w = form.control(QString(name));
        ASSERT_NE(w, nullptr) << name.data();
        EXPECT_EQ(w->objectName(), QString(name));
        EXPECT_TRUE(qobject_cast<QLineEdit*>(w) || qobject_cast<QComboBox*>(w)) << name.data();
    };
    for (const RecordKey& key : RecordLayout::companyKeys())
        expectKind(key.control);
    for (const RecordKey& key : RecordLayout::appInfoKeys())
        expectKind(key.control);
    for (const RecordKey& key : RecordLayout::categoryKeys())
        expectKind(key.control);
    int ticks = 0;
    for (QLatin1StringView name : RecordLayout::tickBoxes()) {
        auto* box = qobject_cast<QCheckBox*>(form.control(QString(name)));
        ASSERT_NE(box, nullptr) << name.data();
        EXPECT_FALSE(box->isChecked());
        ++ticks;
    }
    EXPECT_EQ(ticks, 114);
    EXPECT_EQ(form.findChildren<QCheckBox*>().size(), 114);
    // Controls found by name are the accessors of that name.
    EXPECT_EQ(form.control(QStringLiteral("wcsubcat")), form.wcsubcat());
    EXPECT_EQ(form.control(QStringLiteral("Memo2")), form.Memo2());
    EXPECT_EQ(form.control(QStringLiteral("ProgressBar1")), form.ProgressBar1());
}

TEST_F(MainWindowTest, FieldsStartWithTheirValuesAndLimits)
{
    struct Case
    {
        const char* name;
        const char* start;
        int maxLength; // 0: no limit of its own
    };
    const Case cases[] = {
        {"char8name", "", 8},
        {"filename", "", 16},
        {"month", "", 2},
        {"day", "", 2},
        {"year", "", 4},
        {"shortdesc", "", 46},
        {"specreq", "None", 0},
        {"appurl", "http://", 0},
        {"dl1", "http://", 0},
        {"dl6", "http://", 0},
        {"screenshot", "http://", 0},
        {"localpath", "", 0},
        {"pubpage", "http://", 0},
        {"conname", "", 0},
        {"win95pd", "http://", 0},
        {"shareware95pd", "http://", 0},
        {"portedit", "80", 0},
        {"smtpedit", "", 0},
        {"appname", "", 0},
        {"compname", "", 0},
        {"sharedirpd1", "Select Category 1", 0},
        {"sharedirpd2", "Select Category 2", 0},
        {"httpstatus", "Idle", 0},
        {"ftpstatus", "Idle", 0},
        {"mailstatus", "Idle", 0},
        {"currentsite", "", 0},
    };
    for (const Case& c : cases) {
        QWidget* w = form.control(QString::fromLatin1(c.name));
        ASSERT_NE(w, nullptr) << c.name;
        EXPECT_EQ(controlText(w), QString::fromLatin1(c.start)) << c.name;
        // The limit refuses further typing; text the program puts in stays whole.
        if (auto* edit = qobject_cast<QLineEdit*>(w); edit && c.maxLength) {
            edit->clear();
            QTest::keyClicks(edit, QString(c.maxLength + 2, QLatin1Char('1')));
            EXPECT_EQ(edit->text(), QString(c.maxLength, QLatin1Char('1'))) << c.name;
            setControlText(edit, QString(c.maxLength + 2, QLatin1Char('2')));
            EXPECT_EQ(edit->text(), QString(c.maxLength + 2, QLatin1Char('2'))) << c.name;
        }
    }
    EXPECT_EQ(form.longdesc()->toPlainText(), QString());
}

TEST_F(MainWindowTest, DropDownListsAreEditableWithTheirFixedItemsUnsorted)
{
    auto names = [](std::initializer_list<const char*> list) {
        QStringList result;
        for (const char* name : list)
            result.append(QString::fromLatin1(name));
        return result;
    };
    const QPair<QComboBox*, QStringList> lists[] = {
        {form.platforms(), names({"Windows 95", "Windows NT", "Windows 95 and NT"})},
        {form.diststatus(), names({"Author", "Distributor", "Dealer", "User"})},
        {form.status(),
            names({"Feature Limit Demo", "Time Limit Demo", "Public Domain", "Freeware", "Shareware", "Beta"})},
        {form.installer(),
            names({"No Install Feature", "Install Feature Only", "Uninstall Feature Only", "Install/Uninstall"})},
    };
    for (const auto& [box, expected] : lists) {
        EXPECT_EQ(items(box), expected) << box->objectName().toStdString();
        EXPECT_EQ(box->currentText(), QString());
    }
    for (QComboBox* box : form.findChildren<QComboBox*>()) {
        // The mail security choice is a fixed list of three, not a drop-down one types into.
        if (box == form.smtpsecurity())
            continue;
        EXPECT_TRUE(box->isEditable()) << box->objectName().toStdString();
        EXPECT_EQ(box->insertPolicy(), QComboBox::NoInsert) << box->objectName().toStdString();
    }
    EXPECT_EQ(form.findChildren<QComboBox*>().size(), 4 + 2 + 20 + 1);
}

TEST_F(MainWindowTest, GeneralPageTabOrderFollowsTheFields)
{
    QStringList order;
    QWidget* w = form.appname();
    for (int guard = 0; guard < 200 && order.size() < 18; ++guard) {
        if (form.generalpage()->isAncestorOf(w) && (w->focusPolicy() & Qt::TabFocus) && !w->objectName().isEmpty()
            && !order.contains(w->objectName()))
            order.append(w->objectName());
        w = w->nextInFocusChain();
    }
    EXPECT_EQ(order,
        (QStringList{QStringLiteral("appname"), QStringLiteral("char8name"), QStringLiteral("filename"),
            QStringLiteral("version"), QStringLiteral("month"), QStringLiteral("day"), QStringLiteral("year"),
            QStringLiteral("platforms"), QStringLiteral("diststatus"), QStringLiteral("bytesize"),
            QStringLiteral("instsize"), QStringLiteral("price"), QStringLiteral("status"), QStringLiteral("eval"),
            QStringLiteral("expiredate"), QStringLiteral("specreq"), QStringLiteral("expireafter"),
            QStringLiteral("installer")}));
}

TEST_F(MainWindowTest, ControlsCarryTheirHelpContexts)
{
    const QPair<const char*, int> cases[] = {
        {"appname", 1002},
        {"installer", 1002},
        {"appurl", 1003},
        {"localpath", 1003},
        {"shortdesc", 1001},
        {"Memo2", 1001},
        {"compname", 1005},
        {"pubmail", 1005},
        {"tucowspd", 1014},
        {"win95pd", 1014},
        {"wattackpd", 1014},
        {"tucowsnewcb", 1014},
        {"win95cb", 1014},
        {"ftplist", 1016},
        {"log", 1016},
        {"gotolist", 1004},
        {"portedit", 1004},
    };
    for (const auto& [name, context] : cases)
        EXPECT_EQ(form.control(QString::fromLatin1(name))->property("helpContext").toInt(), context) << name;
    // Only the first two site rows' tick boxes carry one.
    EXPECT_FALSE(form.control(QStringLiteral("new32bit"))->property("helpContext").isValid());
}

TEST_F(MainWindowTest, SiteRowsShowTheirLabels)
{
    const QPair<QCheckBox*, const char*> boxes[] = {
        {form.findChild<QCheckBox*>(QStringLiteral("tucowsnewcb")), "New"},
        {form.findChild<QCheckBox*>(QStringLiteral("tucowscb")), "Update TuCows"},
        // The label the run shows for the site.
        {form.findChild<QCheckBox*>(QStringLiteral("cswup")), "Update c:\\shareware"},
        {form.findChild<QCheckBox*>(QStringLiteral("otbacb")), "Update Only the best Apps"},
        {form.findChild<QCheckBox*>(QStringLiteral("wsockwhcb")), "Update Winsock Warehouse"},
        // Domain-name labels stay under the reserved domain until the catalogue names them.
        {form.findChild<QCheckBox*>(QStringLiteral("win95cb")), "Update win95.example"},
        {form.findChild<QCheckBox*>(QStringLiteral("snetup")), "Update snet.example"},
    };
    for (const auto& [box, caption] : boxes)
        EXPECT_EQ(box->text(), QString::fromLatin1(caption));
    EXPECT_EQ(form.siteLabel(QStringLiteral("win95")), QStringLiteral("win95.example"));
}

TEST_F(MainWindowTest, SubmitPageStartsIdleWithDarkLamps)
{
    for (TLed* lamp : {form.httpled(), form.ftpled(), form.mailled()})
        EXPECT_FALSE(lamp->isLit());
    form.httpled()->setEnabled(true);
    EXPECT_TRUE(form.httpled()->isLit());
    EXPECT_EQ(form.ProgressBar1()->minimum(), 0);
    EXPECT_EQ(form.ProgressBar1()->maximum(), 100);
    const QPair<TFlatButton*, const char*> buttons[] = {
        {form.submit(), "Save/Submit"},
        {form.skip(), "Skip"},
        {form.cancel(), "Cancel"},
        {form.save(), "Save Log"},
        {form.print(), "Print Log"},
        {form.exitb(), "Exit"},
    };
    for (const auto& [button, caption] : buttons)
        EXPECT_EQ(button->text().remove(QLatin1Char('&')), QString::fromLatin1(caption));
    EXPECT_EQ(form.db()->text(), QStringLiteral("&db"));
    EXPECT_EQ(form.db()->size(), QSize(0, 0));
    EXPECT_FALSE(form.db()->isHidden());
}

TEST_F(MainWindowTest, MenuHasItsItems)
{
    QStringList menus;
    for (QAction* a : form.menuBar()->actions())
        menus.append(a->text());
    EXPECT_EQ(menus, (QStringList{QStringLiteral("&File"), QStringLiteral("&Help")}));
    EXPECT_EQ(form.SaveAppData1()->text(), QStringLiteral("&Save App Data"));
    EXPECT_EQ(form.Exit1()->text(), QStringLiteral("E&xit"));
    EXPECT_EQ(form.Exit1()->shortcut(), QKeySequence(QStringLiteral("Ctrl+X")));
    EXPECT_EQ(form.Help2()->text(), QStringLiteral("&Help"));
    EXPECT_EQ(form.QuilletHomePage1()->text(), QStringLiteral("&Quillet Home Page"));
    EXPECT_EQ(form.BrightfenHomePage1()->text(), QStringLiteral("&Brightfen Home Page"));
    EXPECT_EQ(form.About1()->text(), QStringLiteral("&About"));
}

TEST_F(MainWindowTest, DebugSwitchTogglesTheModeWithItsMessages)
{
    form.debugClick();
    EXPECT_TRUE(form.debugmode());
    form.debugClick();
    EXPECT_FALSE(form.debugmode());
    EXPECT_EQ(fake.shown, (QStringList{QStringLiteral("Debug Mode ON"), QStringLiteral("Debug Mode Off")}));
}

TEST_F(MainWindowTest, StringViewOpensOnlyInDebugMode)
{
    TStringView* first = form.stringview();
    form.dbClick();
    EXPECT_EQ(form.stringview(), first);
    form.setDebugmode(true);
    form.dbClick();
    ASSERT_NE(form.stringview(), first);
    EXPECT_EQ(form.stringview()->windowTitle(), QStringLiteral("String View"));
    EXPECT_TRUE(form.stringview()->isVisible());
    form.stringview()->close();
}

TEST_F(MainWindowTest, ExitEndsAtOnceWithoutThePromptAndStopsARun)
{
    int ends = 0;
    form.setEndAction([&] { ++ends; });
    form.appname()->setEditText(QStringLiteral("Unsaved"));
    form.show();
    NetworkWait transfer; // a transfer the run is waiting for
    form.exitb()->click();
    EXPECT_EQ(ends, 1);
    EXPECT_FALSE(form.isVisible());
    EXPECT_TRUE(fake.questions.isEmpty());
    EXPECT_FALSE(QFile::exists(base.file(QStringLiteral("data/Unsaved.dat"))));
    EXPECT_TRUE(transfer.interrupted());
    EXPECT_TRUE(form.cancelflag());

    TForm1 other;
    other.setEndAction([&] { ++ends; });
    other.Exit1()->trigger();
    EXPECT_EQ(ends, 2);
}

TEST_F(MainWindowTest, BrowsePutsTheChosenArchiveIntoLocalPath)
{
    fake.fileNames = {QStringLiteral("/home/me/prog.zip")};
    form.browse()->click();
    ASSERT_EQ(fake.fileRequests.size(), 1);
    EXPECT_EQ(fake.fileRequests[0].title, QStringLiteral("Select your program"));
    EXPECT_EQ(fake.fileRequests[0].filter, QStringLiteral("Programs|*.ZIP;*.EXE"));
    EXPECT_EQ(fake.fileRequests[0].defaultExt, QStringLiteral("EXE"));
    EXPECT_EQ(form.localpath()->text(), QStringLiteral("/home/me/prog.zip"));

    form.browse()->click(); // cancelled: nothing changes
    EXPECT_EQ(form.localpath()->text(), QStringLiteral("/home/me/prog.zip"));
}

TEST_F(MainWindowTest, AltDReachesTheHiddenButtonOnlyOnTheSubmitPage)
{
    form.show();
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    // The accelerator presses the button at once; its click follows when the press animation ends.
    QTest::keyClick(&form, Qt::Key_D, Qt::AltModifier);
    EXPECT_FALSE(form.db()->isDown());
    form.PageControl1()->setCurrentWidget(form.submitpage());
    QTest::keyClick(&form, Qt::Key_D, Qt::AltModifier);
    EXPECT_TRUE(form.db()->isDown());
}

TEST_F(MainWindowTest, CtrlXCutsInATextFieldAndEndsElsewhere)
{
    int ends = 0;
    form.setEndAction([&] { ++ends; });
    form.show();
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    form.version()->setText(QStringLiteral("1.2"));
    form.version()->setFocus();
    form.version()->selectAll();
    QTest::keyClick(form.version(), Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(ends, 0);
    EXPECT_EQ(form.version()->text(), QString());

    form.PageControl1()->setCurrentWidget(form.submitpage());
    form.submit()->setFocus();
    QTest::keyClick(form.submit(), Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(ends, 1);
}
