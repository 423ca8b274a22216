#include "FormOnBase.h"

#include "app/ControlText.h"
#include "app/FormRunWindow.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QTest>

namespace {

// A memo's text is taken once per change: every way the memo changes shows at the next reading,
// in the run's CR LF form too, and a handler of the memo's own change signal reads the new text.
TEST_F(MainWindowTest, MemoTextKeepsUpWithEveryChange)
{
    QPlainTextEdit* memo = form.longdesc();
    FormRunWindow window(form);
    const QString control = QStringLiteral("longdesc");
    QStringList seenByHandler;
    QObject::connect(memo, &QPlainTextEdit::textChanged, [&] { seenByHandler << memoText(memo); });

    memo->setPlainText(q("first line\nsecond line"));
    EXPECT_EQ(window.text(control), q("first line\r\nsecond line"));
    EXPECT_EQ(memoText(memo), q("first line\nsecond line"));
    window.setText(control, q("set by the run"));
    EXPECT_EQ(window.text(control), q("set by the run"));
    EXPECT_EQ(memo->toPlainText(), q("set by the run"));
    memo->moveCursor(QTextCursor::End);
    QTest::keyClicks(memo, q("!"));
    EXPECT_EQ(window.text(control), q("set by the run!"));
    memo->undo();
    EXPECT_EQ(memoText(memo), q("set by the run"));
    memo->textCursor().insertBlock();
    EXPECT_EQ(window.text(control), q("set by the run\r\n"));
    EXPECT_EQ(seenByHandler.mid(seenByHandler.size() - 3),
        (QStringList{q("set by the run!"), q("set by the run"), q("set by the run\n")}));
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
