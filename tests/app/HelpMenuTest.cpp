// Help > Help where no browser can be started: the guide shows in a window of its own.
#include "FormOnBase.h"

#include "app/WebBrowser.h"

#include <QAction>
#include <QTextBrowser>

namespace {

TEST_F(FormOnBase, HelpWithoutABrowserShowsTheGuideInItsOwnWindowOnce)
{
    qputenv("XDG_CACHE_HOME", base.file(q("cache")).toUtf8());
    WebBrowser::setLauncher([](const QString&) { return false; });
    form.Help2()->trigger();
    form.Help2()->trigger();
    WebBrowser::setLauncher(nullptr);
    qunsetenv("XDG_CACHE_HOME");

    const QList<QTextBrowser*> windows = form.findChildren<QTextBrowser*>(q("helpwindow"));
    ASSERT_EQ(windows.size(), 1);
    EXPECT_TRUE(windows[0]->isVisible());
    EXPECT_TRUE(windows[0]->toPlainText().contains(q("Getting started")));
    EXPECT_TRUE(fake.errors.isEmpty()) << fake.errors.join(q("\n")).toStdString();
}

} // namespace
