// A pick list takes the wheel only when it has the focus: scrolling the Sites page past one never
// changes a stored category.
#include "FormOnBase.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>
#include <QWheelEvent>

namespace {

TEST_F(FormOnBase, PickListTakesTheWheelOnlyWithTheFocus)
{
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    form.PageControl1()->setCurrentWidget(form.sitespage());
    auto* box = qobject_cast<QComboBox*>(form.control(q("fileminepd")));
    ASSERT_NE(box, nullptr);
    box->addItems({q("Utilities - Desktop Utilities"), q("Utilities - File Utilities")});
    box->setCurrentIndex(0);
    // One notch down; true when the list kept it from the page behind.
    auto notch = [box] {
        const QPointF at(box->width() / 2.0, box->height() / 2.0);
        QWheelEvent event(at, box->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
            Qt::NoScrollPhase, false);
        QApplication::sendEvent(box, &event);
        return event.isAccepted();
    };
    EXPECT_FALSE(notch());
    EXPECT_FALSE(notch());
    EXPECT_EQ(box->currentText(), q("Utilities - Desktop Utilities"));

    box->setFocus(Qt::TabFocusReason);
    EXPECT_TRUE(notch());
    EXPECT_EQ(box->currentText(), q("Utilities - File Utilities"));
}

// What is typed into a drop-down is its value: no box, on any page, completes it from its items.
TEST_F(FormOnBase, TypedTextIsTheValueOfEveryDropDown)
{
    int typedInto = 0;
    for (QComboBox* box : form.findChildren<QComboBox*>()) {
        if (!box->lineEdit())
            continue;
        EXPECT_EQ(box->completer(), nullptr) << qPrintable(box->objectName());
        box->addItem(q("Typed prefix and more"));
        box->setEditText(QString());
        QTest::keyClicks(box->lineEdit(), q("Typed pre"));
        EXPECT_EQ(box->currentText(), q("Typed pre")) << qPrintable(box->objectName());
        ++typedInto;
    }
    EXPECT_GT(typedInto, 20);
}

} // namespace
