#include "FormOnBase.h"
#include "app/CategoryFiles.h"
#include "app/ComboItems.h"
#include "app/WebBrowser.h"

#include <QAction>
#include <QComboBox>
#include <QListWidget>
#include <QTabBar>
#include <QTabWidget>

namespace {

class CategoryLists : public FormOnBase
{
protected:
    CategoryLists()
    {
        m_previous = WebBrowser::setLauncher([this](const QString& address) {
            opened.append(address);
            return launches;
        });
    }
    ~CategoryLists() override { WebBrowser::setLauncher(m_previous); }

    QComboBox* box(const QString& name) { return qobject_cast<QComboBox*>(form.control(name)); }
    void writeCat(const QString& file, const QByteArray& content) { base.write(q("cat/") + file, content); }
    static QStringList items(const QComboBox* box) { return comboItems(box); }
    QStringList gotoItems() const
    {
        QStringList names;
        for (int i = 0; i < form.gotolist()->count(); ++i)
            names.append(form.gotolist()->item(i)->text());
        return names;
    }
    void doubleClick(const char* name)
    {
        form.gotolist()->clearSelection();
        const auto found = form.gotolist()->findItems(q(name), Qt::MatchExactly);
        if (!found.isEmpty())
            found.first()->setSelected(true);
        form.gotolistDblClick();
    }

    QStringList opened;
    bool launches = true;

private:
    WebBrowser::Launcher m_previous;
};

// Every ordinary pick list reloads from its own file on entry, keeps its text, and stays as it was
// when its file is missing.
TEST_F(CategoryLists, EachPickListLoadsItsFileOnEntry)
{
    QStringList controls = CategoryFiles::controls();
    controls.removeAll(q("sharedirpd1"));
    controls.removeAll(q("sharedirpd2"));
    ASSERT_EQ(controls.size(), 17);
    for (const QString& name : controls) {
        SCOPED_TRACE(name.toStdString());
        QComboBox* list = box(name);
        ASSERT_NE(list, nullptr);
        list->setEditText(q("my own text"));
        enter(list);
        EXPECT_TRUE(items(list).isEmpty());

        const QString file = CategoryFiles::fileFor(name);
        writeCat(file, (name + q(" one\r\nTwo & Three\r\n")).toUtf8());
        enter(list);
        EXPECT_EQ(items(list), (QStringList{name + q(" one"), q("Two & Three")}));
        EXPECT_EQ(list->currentText(), q("my own text"));

        // Edits of the file show at the next entry; a removed file leaves the last items.
        writeCat(file, "changed\r\n");
        enter(list);
        EXPECT_EQ(items(list), QStringList{q("changed")});
        QFile::remove(base.file(q("cat/") + file));
        enter(list);
        EXPECT_EQ(items(list), QStringList{q("changed")});
    }
    EXPECT_TRUE(fake.shown.isEmpty());
}

TEST_F(CategoryLists, SharedirListsFillTogetherAndReportAMissingFile)
{
    EXPECT_EQ(form.sharedirpd1()->currentText(), q("Select Category 1"));
    EXPECT_EQ(form.sharedirpd2()->currentText(), q("Select Category 2"));
    for (QComboBox* entered : {form.sharedirpd1(), form.sharedirpd2()}) {
        SCOPED_TRACE(entered->objectName().toStdString());
        fake.errors.clear();
        replaceComboItems(form.sharedirpd1(), {q("old")});
        replaceComboItems(form.sharedirpd2(), {q("old")});
        QFile::remove(base.file(q("cat/sharedir.cat")));
        enter(entered);
        EXPECT_EQ(fake.errors, QStringList{q("Cannot open file ") + base.file(q("cat/sharedir.cat"))});
        EXPECT_EQ(items(form.sharedirpd1()), QStringList{q("old")});
        EXPECT_EQ(items(form.sharedirpd2()), QStringList{q("old")});

        writeCat(q("sharedir.cat"), "Business\r\nGames\r\n");
        enter(entered);
        EXPECT_EQ(items(form.sharedirpd1()), (QStringList{q("Business"), q("Games")}));
        EXPECT_EQ(items(form.sharedirpd2()), (QStringList{q("Business"), q("Games")}));
        EXPECT_EQ(form.sharedirpd1()->currentText(), q("Select Category 1"));
        EXPECT_EQ(form.sharedirpd2()->currentText(), q("Select Category 2"));
    }
}

TEST_F(CategoryLists, SubcategoryListFollowsTheExactCategoryText)
{
    for (const QString& category : CategoryFiles::wincentCategories())
        writeCat(CategoryFiles::wincentSubcategoryFile(category), (q("sub of ") + category + q("\r\n")).toUtf8());
    QFile::remove(base.file(q("cat/wcupdates.cat")));
    const QString missing = q("Cannot open file ") + base.file(q("cat/wcupdates.cat"));
    const QString noCategory = q("You must first select a category");
    const struct
    {
        const char* category;
        const char* item; // the single item afterwards
        const QString message;
    } cases[] = {
        {"desktop", "sub of desktop", {}},
        {"world_wide_web", "sub of world_wide_web", {}},
        {"utilities", "sub of utilities", {}},
        {"Desktop", "previous", {}}, // compared with regard to case
        {"desktop ", "previous", {}},
        {"games", "previous", {}},
        {"", "previous", noCategory},
        {"updates", "previous", missing},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.category);
        fake.shown.clear();
        replaceComboItems(form.wcsubcat(), {q("previous")});
        form.wincentpd()->setEditText(q(c.category));
        enter(form.wcsubcat());
        EXPECT_EQ(items(form.wcsubcat()), QStringList{q(c.item)});
        EXPECT_EQ(fake.shown, c.message.isEmpty() ? QStringList{} : QStringList{c.message});
    }
}

TEST_F(CategoryLists, PickingACategoryThenEnteringSubcategoriesUsesTheShippedNames)
{
    writeCat(q("wincent.cat"), "desktop\r\ninternet\r\n");
    writeCat(q("wcinternet.cat"), "Chat\r\nE-Mail\r\n");
    enter(form.wincentpd());
    form.wincentpd()->setCurrentIndex(1);
    enter(form.wcsubcat());
    EXPECT_EQ(items(form.wcsubcat()), (QStringList{q("Chat"), q("E-Mail")}));
}

TEST_F(CategoryLists, SiteListIsSortedWithoutRegardToCaseOnEveryEntry)
{
    writeCat(q("sites.dat"), "WinSite\r\nc:\\shareware\r\nFile Mine\r\nabc\r\nTuCows\r\n");
    enter(form.PageControl1()->tabBar());
    EXPECT_EQ(gotoItems(), (QStringList{q("abc"), q("c:\\shareware"), q("File Mine"), q("TuCows"), q("WinSite")}));

    writeCat(q("sites.dat"), "zz\r\nAA\r\n");
    enter(form.PageControl1()->tabBar());
    EXPECT_EQ(gotoItems(), (QStringList{q("AA"), q("zz")}));
    EXPECT_TRUE(fake.shown.isEmpty());

    // Without the file every entry reports it, and the list keeps its names.
    QFile::remove(base.file(q("cat/sites.dat")));
    enter(form.PageControl1()->tabBar());
    enter(form.PageControl1()->tabBar());
    const QString error = q("Cannot open file ") + base.file(q("cat/sites.dat"));
    EXPECT_EQ(fake.errors, (QStringList{error, error}));
    EXPECT_EQ(gotoItems(), (QStringList{q("AA"), q("zz")}));
}

TEST_F(CategoryLists, DoubleClickOpensTheSiteAddress)
{
    writeCat(q("sites.dat"), "TuCows\r\nNo Address\r\nSimtel\r\n");
    writeCat(q("urls.dat"), "[URLS]\r\nTuCows=http://www.tucows.example/\r\nsimtel=http://www.simtel.example/\r\n");
    enter(form.PageControl1()->tabBar());
    doubleClick("TuCows");
    doubleClick("Simtel"); // keys compare without regard to case
    doubleClick("No Address"); // no key: the browser starts with an empty address
    doubleClick("nothing selected");
    EXPECT_EQ(opened, (QStringList{q("http://www.tucows.example/"), q("http://www.simtel.example/"), q(""), q("")}));

    // Without urls.dat the names themselves are the addresses.
    opened.clear();
    QFile::remove(base.file(q("cat/urls.dat")));
    doubleClick("TuCows");
    EXPECT_EQ(opened, QStringList{q("TuCows")});
    EXPECT_TRUE(fake.shown.isEmpty());
}

TEST_F(CategoryLists, BrowserThatCannotStartIsReported)
{
    launches = false;
    writeCat(q("sites.dat"), "TuCows\r\n");
    enter(form.PageControl1()->tabBar());
    form.gotolist()->item(0)->setSelected(true);
    guarded([this] { form.gotolistDblClick(); });
    form.QuilletHomePage1()->trigger();
    EXPECT_EQ(fake.errors, (QStringList{q("Couldn't launch default browser"), q("Couldn't launch default browser")}));
    EXPECT_EQ(opened.size(), 2);
}

// The focus the window gives a field when it becomes active enters that field; the focus coming
// back to it after a message box does not enter it again.
TEST_F(CategoryLists, WindowActivationEntersAFieldOnlyOnce)
{
    base.write(q("data/companies.dat"), "Larkspur Software\r\n");
    const auto activate = [](QWidget* widget) {
        QFocusEvent event(QEvent::FocusIn, Qt::ActiveWindowFocusReason);
        QCoreApplication::sendEvent(widget, &event);
    };
    activate(form.compname());
    EXPECT_EQ(items(form.compname()), QStringList{q("Larkspur Software")});

    enter(form.wcsubcat());
    activate(form.wcsubcat()); // back from the message box
    EXPECT_EQ(fake.shown, QStringList{q("You must first select a category")});
    enter(form.wcsubcat());
    EXPECT_EQ(fake.shown.size(), 2);
}

} // namespace
