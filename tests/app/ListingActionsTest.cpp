// The window's PAD menu items, the Check Listing button and the question before a Save/Submit
// whose listing has errors, on a main window over a fresh base folder.
#include "app/ListingActions.h"
#include "FormOnBase.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>

namespace {

class ListingActionsTest : public FormOnBase
{
protected:
    ListingActions actions{form};
};

TEST_F(ListingActionsTest, ImportThenExportThroughTheFileMenu)
{
    QStringList items;
    for (QAction* a : form.findChild<QMenu*>(q("File1"))->actions())
        items.append(a->text());
    EXPECT_EQ(items.indexOf(q("Import PAD…")) + 1, items.indexOf(q("Export PAD…")));
    EXPECT_LT(items.indexOf(q("Export PAD…")), items.indexOf(q("E&xit")));

    fake.fileNames = {q(QUILLET_TEST_DATA_DIR "/pad/v4.xml")};
    actions.importPad();
    ASSERT_EQ(fake.shown.size(), 1) << fake.errors.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(fake.shown.first().startsWith(q("Created \"Zip Go\"")));
    EXPECT_EQ(form.version()->text(), q("2.1"));
    EXPECT_TRUE(base.read(q("data/Zip Go.dat")).contains("VERSION=2.1\r\n"));

    // The same record again: asked before it changes, and left alone on No.
    form.version()->setText(q("9.9"));
    form.savesite();
    fake.fileNames = {q(QUILLET_TEST_DATA_DIR "/pad/v4.xml")};
    fake.answers = {Dialogs::Answer::No};
    actions.importPad();
    EXPECT_EQ(fake.questions.size(), 1);
    EXPECT_TRUE(base.read(q("data/Zip Go.dat")).contains("VERSION=9.9\r\n"));

    fake.fileNames = {base.file(q("out.xml"))};
    actions.exportPad();
    EXPECT_TRUE(base.read(q("out.xml")).contains("<Program_Version>9.9</Program_Version>"));
}

TEST_F(ListingActionsTest, ErrorsAskBeforeSendingAndGoBackShowsTheFirstField)
{
    fake.fileNames = {q(QUILLET_TEST_DATA_DIR "/pad/v4.xml")};
    actions.importPad();
    form.char8name()->setText(q("zip.go"));
    auto* pages = form.findChild<QTabWidget*>();
    pages->setCurrentIndex(3);

    form.findChild<QPushButton*>(q("checklisting"))->click();
    EXPECT_TRUE(fake.shown.last().contains(q("error: char8name"))) << fake.shown.last().toStdString();

    fake.answers = {Dialogs::Answer::No}; // "Go back"
    EXPECT_FALSE(actions.maySend());
    EXPECT_EQ(pages->currentIndex(), 0);
    fake.answers = {Dialogs::Answer::Yes}; // "Send anyway"
    EXPECT_TRUE(actions.maySend());
    EXPECT_TRUE(fake.questions.last().contains(q("Send anyway")));
}

} // namespace
