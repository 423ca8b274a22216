// Help > Help: the guide opens in the browser, or in a window of its own when there is none.
#include "FormOnBase.h"

#include "app/HelpFile.h"
#include "app/WebBrowser.h"

#include <QAction>
#include <QFile>
#include <QTextBrowser>
#include <QUrl>

namespace {

class HelpMenu : public FormOnBase
{
protected:
    HelpMenu() { qputenv("XDG_CACHE_HOME", base.file(q("cache")).toUtf8()); }
    ~HelpMenu() override
    {
        WebBrowser::setLauncher(nullptr);
        qunsetenv("XDG_CACHE_HOME");
    }

    QTextBrowser* helpWindow() const { return form.findChild<QTextBrowser*>(q("helpwindow")); }
};

TEST_F(HelpMenu, BrowserGetsTheGuideWrittenToTheCache)
{
    QStringList opened;
    WebBrowser::setLauncher([&](const QString& address) {
        opened.append(address);
        return true;
    });
    form.Help2->trigger();
    ASSERT_EQ(opened.size(), 1);
    QFile guide(QUrl(opened[0]).toLocalFile());
    ASSERT_TRUE(guide.open(QIODevice::ReadOnly)) << opened[0].toStdString();
    EXPECT_TRUE(guide.readAll().contains("Getting started"));
    EXPECT_EQ(helpWindow(), nullptr);
}

TEST_F(HelpMenu, WithoutABrowserTheGuideShowsInItsOwnWindowOnce)
{
    WebBrowser::setLauncher([](const QString&) { return false; });
    form.Help2->trigger();
    form.Help2->trigger();
    ASSERT_NE(helpWindow(), nullptr);
    EXPECT_EQ(form.findChildren<QTextBrowser*>(q("helpwindow")).size(), 1);
    EXPECT_TRUE(helpWindow()->isVisible());
    EXPECT_TRUE(helpWindow()->toPlainText().contains(q("Getting started")));
    EXPECT_TRUE(fake.errors.isEmpty()) << fake.errors.join(q("\n")).toStdString();
}

} // namespace
