// A pick list takes the wheel only when it has the focus: scrolling the Sites page past one never
// changes a stored category.
#include "FormOnBase.h"

#include <QApplication>
#include <QComboBox>
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

} // namespace
