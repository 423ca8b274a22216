// The window opens at its designed size, grows with the lists and memos taking the room, and
// comes back where it was.
#include "FormOnBase.h"

#include "app/WindowPlace.h"

#include <QApplication>
#include <QGuiApplication>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollArea>

namespace {

class WindowSizeTest : public FormOnBase
{
protected:
    void growClientBy(QSize extra)
    {
        form.show();
        form.resize(form.size() - form.centralWidget()->size() + TForm1::DesignedClientSize + extra);
        QCoreApplication::processEvents();
        ASSERT_EQ(form.centralWidget()->size(), TForm1::DesignedClientSize + extra);
    }
};

} // namespace

TEST_F(WindowSizeTest, ListsAndMemosTakeTheRoomEveryOtherControlKeepsItsPlace)
{
    struct Case
    {
        const char* name;
        QPoint moved; // by a client 300 wider and 240 higher
        QSize grown;
    };
    const Case cases[] = {
        {"sitesbox", {0, 0}, {300, 240}},
        {"ftplist", {0, 0}, {300, 80}},
        {"log", {0, 80}, {300, 160}},
        {"longdesc", {0, 0}, {300, 120}},
        {"Memo2", {0, 120}, {300, 120}},
        {"genlabel", {0, 0}, {300, 0}},
        {"submit", {0, 0}, {0, 0}},
        {"runcounts", {0, 0}, {0, 0}},
        {"appname", {0, 0}, {0, 0}},
        {"shortdesc", {0, 0}, {0, 0}},
        {"gotolist", {0, 0}, {0, 0}},
        {"smtpedit", {0, 0}, {0, 0}},
        {"conname", {0, 0}, {0, 0}},
    };
    QHash<QString, QRect> designed;
    for (const Case& c : cases)
        designed.insert(QString::fromLatin1(c.name), form.control(QString::fromLatin1(c.name))->geometry());
    growClientBy({300, 240});
    for (const Case& c : cases) {
        const QRect was = designed.value(QString::fromLatin1(c.name));
        const QRect now = form.control(QString::fromLatin1(c.name))->geometry();
        EXPECT_EQ(now.topLeft() - was.topLeft(), c.moved) << c.name;
        EXPECT_EQ(now.size() - was.size(), c.grown) << c.name;
    }
    // Back at the designed size, every control is where it was placed.
    growClientBy({0, 0});
    for (const Case& c : cases)
        EXPECT_EQ(form.control(QString::fromLatin1(c.name))->geometry(), designed.value(QString::fromLatin1(c.name)))
            << c.name;
}

TEST_F(WindowSizeTest, TheWindowCanBeResizedAndMaximised)
{
    EXPECT_FALSE(form.windowFlags() & Qt::MSWindowsFixedSizeDialogHint);
    EXPECT_FALSE(form.windowFlags() & Qt::CustomizeWindowHint);
    EXPECT_EQ(form.maximumSize(), QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
}

TEST_F(WindowSizeTest, ClosingKeepsThePlaceTheNextStartRestores)
{
    form.show();
    form.setGeometry(QRect(20, 30, 700, 500));
    QCoreApplication::processEvents();
    ASSERT_TRUE(form.close());
    const WindowPlace::Place kept = WindowPlace::read(base.path());
    EXPECT_EQ(kept.normal, form.geometry());
    EXPECT_FALSE(kept.maximized);

    TForm1 next;
    next.setBasedir(base.path());
    ASSERT_TRUE(next.restorePlace());
    EXPECT_EQ(next.geometry(), kept.normal);
}

TEST_F(WindowSizeTest, OnlyAPlaceOnAScreenIsRestored)
{
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const QSize minimum = form.minimumSizeHint();
    struct Case
    {
        const char* what;
        QRect stored;
        bool maximized;
        bool restored;
        QSize size;
    };
    const Case cases[] = {
        {"none kept", {}, false, false, {}},
        {"on the screen", QRect(screen.topLeft() + QPoint(10, 10), minimum + QSize(40, 30)), false, true,
            minimum + QSize(40, 30)},
        {"maximised", QRect(screen.topLeft() + QPoint(10, 10), minimum), true, true, minimum},
        {"smaller than the window can be", QRect(screen.topLeft(), QSize(100, 80)), false, true, minimum},
        {"on a screen gone since", QRect(-20000, -20000, 700, 500), false, false, {}},
    };
    for (const Case& c : cases) {
        WindowPlace::write(base.path(), WindowPlace::Place{c.stored, c.maximized, {}});
        TForm1 window;
        window.setBasedir(base.path());
        EXPECT_EQ(window.restorePlace(), c.restored) << c.what;
        if (!c.restored)
            continue;
        EXPECT_EQ(window.geometry().size(), c.size) << c.what;
        EXPECT_EQ(window.isMaximized(), c.maximized) << c.what;
    }
}
