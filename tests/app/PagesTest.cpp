#include "FormOnBase.h"

#include "app/AppInfoPage.h"
#include "app/CompanyPage.h"
#include "app/ControlRegistry.h"
#include "app/OptionsPage.h"
#include "app/SitesPage.h"
#include "app/SubmitPage.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QTabWidget>

#include <algorithm>
#include <functional>

namespace {

QStringList namesOf(const QList<QWidget*>& controls)
{
    QStringList names;
    for (const QWidget* control : controls)
        names.append(control->objectName());
    return names;
}

struct PageCase
{
    const char* objectName;
    std::function<QWidget*(ControlRegistry&)> build;
    QStringList first; // the first controls it registers, in order
    const char* last;
    int count;
};

// Each page builds its controls on its own: they are its children, registered once each under
// their names, in tab order.
TEST(Pages, EachPageOwnsAndRegistersItsControlsInTabOrder)
{
    auto names = [](std::initializer_list<const char*> list) {
        QStringList result;
        for (const char* name : list)
            result.append(QString::fromLatin1(name));
        return result;
    };
    const PageCase cases[] = {
        {"appinfopage", [](ControlRegistry& r) { return new AppInfoPage(r, nullptr); },
            names({"PageControl2", "appname", "char8name", "filename", "version", "month", "day", "year", "ldatel"}),
            "Memo2", 33},
        {"companypage", [](ControlRegistry& r) { return new CompanyPage(r, nullptr); },
            names({"compname", "conname", "contitle", "conmail"}), "savecompany", 14},
        {"sitespage", [](ControlRegistry& r) { return new SitesPage(r, nullptr); }, {}, "sitesbox", -1},
        {"submitpage", [](ControlRegistry& r) { return new SubmitPage(r, nullptr); },
            names({"submit", "skip", "cancel", "save", "print", "exitb", "runcounts", "currentsite", "httpled",
                "httpstatus", "httpbytes", "ftpled", "ftpstatus", "mailled", "mailstatus", "mail2", "genlabel",
                "ProgressBar1", "ftplist", "log", "db"}),
            "db", 21},
        {"optionspage", [](ControlRegistry& r) { return new OptionsPage(r, nullptr); },
            names({"gotolist", "timeoutedit", "smtpedit", "emailedit", "nameedit", "proxyedit", "portedit",
                "smtpsecurity", "smtpuser", "smtppassword", "cafileedit"}),
            "cafileedit", 11},
    };
    for (const PageCase& c : cases) {
        ControlRegistry registry;
        std::unique_ptr<QWidget> page(c.build(registry));
        const QStringList registered = namesOf(registry.controls());
        EXPECT_EQ(page->objectName(), QString::fromLatin1(c.objectName));
        EXPECT_EQ(registered.mid(0, c.first.size()), c.first) << c.objectName;
        EXPECT_EQ(registered.last(), QString::fromLatin1(c.last)) << c.objectName;
        if (c.count >= 0) {
            EXPECT_EQ(registered.size(), c.count) << c.objectName;
        }
        EXPECT_EQ(QSet<QString>(registered.begin(), registered.end()).size(), registered.size()) << c.objectName;
        for (QWidget* control : registry.controls()) {
            EXPECT_TRUE(page->isAncestorOf(control)) << control->objectName().toStdString();
            EXPECT_EQ(registry.control(control->objectName()), control);
        }
    }
}

// The window registers the pages' controls in the order of its tabs, the hidden reply list last.
TEST_F(MainWindowTest, WindowRegistersThePagesInTabOrder)
{
    QStringList expected{QStringLiteral("PageControl1")};
    for (int i = 0; i < form.PageControl1()->count(); ++i) {
        QWidget* page = form.PageControl1()->widget(i);
        for (QWidget* control : form.controls())
            if (page->isAncestorOf(control))
                expected.append(control->objectName());
    }
    expected.append(QStringLiteral("xfer"));
    EXPECT_EQ(namesOf(form.controls()), expected);
    EXPECT_EQ(form.PageControl1()->widget(0), form.appinfopage());
    EXPECT_EQ(form.appinfopage()->general(), form.generalpage());
    EXPECT_EQ(form.sitespage()->siteLabel(QStringLiteral("fking")), QStringLiteral("File King"));
}

// The pages are built inside the window, so the Tab key takes the whole window's fields in the
// order they were made, page after page; the Sites rows, made before the box that scrolls them,
// follow it.
TEST_F(MainWindowTest, TabOrderRunsThroughThePagesInCreationOrder)
{
    auto takesTab = [](const QWidget* w) { return (w->focusPolicy() & Qt::TabFocus) && !w->objectName().isEmpty(); };
    QStringList created;
    for (const QWidget* control : form.controls()) {
        if (takesTab(control) && control != form.sitesbox())
            created.append(control->objectName());
    }
    const auto firstRow = std::find_if(form.controls().begin(), form.controls().end(),
        [&](const QWidget* control) { return form.sitesbox()->isAncestorOf(control); });
    ASSERT_NE(firstRow, form.controls().end());
    created.insert(created.indexOf((*firstRow)->objectName()), form.sitesbox()->objectName());

    const QSet<QString> named(created.begin(), created.end());
    QStringList chain;
    for (QWidget* w = form.nextInFocusChain(); w != &form; w = w->nextInFocusChain()) {
        if (takesTab(w) && named.contains(w->objectName()) && !chain.contains(w->objectName()))
            chain.append(w->objectName());
    }
    EXPECT_GT(created.size(), 150);
    EXPECT_EQ(chain, created);
}

// The accessors of the pages hand out the very controls found under their names.
TEST_F(MainWindowTest, PageAccessorsAreTheControlsOfTheirNames)
{
    const QPair<QWidget*, const char*> controls[] = {
        {form.generalpage()->expireafter(), "expireafter"},
        {form.locationspage()->dl(6), "dl6"},
        {form.descriptionpage()->shortdesc(), "shortdesc"},
        {form.companypage()->pubmail(), "pubmail"},
        {form.sitespage()->sharedirpd2(), "sharedirpd2"},
        {form.submitpage()->mail2(), "mail2"},
        {form.optionspage()->timeoutedit(), "timeoutedit"},
    };
    for (const auto& [control, name] : controls)
        EXPECT_EQ(form.control(QString::fromLatin1(name)), control) << name;
}

} // namespace
