#include "FormOnBase.h"

#include "app/FormRunWindow.h"

#include <QLabel>
#include <QPlainTextEdit>

namespace {

// A run reads each memo once, with CR LF line ends, and reads back what it sets itself.
TEST_F(MainWindowTest, RunWindowTakesMemosOnceAndKeepsUpWithItsOwnChanges)
{
    form.longdesc()->setPlainText(q("first line\nsecond line"));
    FormRunWindow window(form);
    const QString control = QStringLiteral("longdesc");
    EXPECT_EQ(window.text(control), q("first line\r\nsecond line"));
    EXPECT_EQ(window.text(control), q("first line\r\nsecond line"));
    window.setText(control, q("set by the run"));
    EXPECT_EQ(window.text(control), q("set by the run"));
    EXPECT_EQ(form.longdesc()->toPlainText(), q("set by the run"));
    // The next run takes the memo as it stands then.
    form.longdesc()->setPlainText(q("edited"));
    EXPECT_EQ(FormRunWindow(form).text(control), q("edited"));
}

// The site the run names is kept from what the run set, whatever the label shows meanwhile.
TEST_F(MainWindowTest, RunWindowKeepsTheSiteTheRunNamed)
{
    FormRunWindow window(form);
    EXPECT_EQ(window.currentSite(), QString());
    window.setText(QStringLiteral("currentsite"), q("Winsite  (Creating Zip File)"));
    window.setText(QStringLiteral("genlabel"), q("not a site"));
    form.currentsite()->setText(q("typed over"));
    EXPECT_EQ(window.currentSite(), q("Winsite  (Creating Zip File)"));
    window.setText(QStringLiteral("currentsite"), QString());
    EXPECT_EQ(window.currentSite(), QString());
}

} // namespace
