// The window's pick lists: the wheel and the width of their lists.
#include "FormOnBase.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>
#include <QWheelEvent>

namespace {

class PickLists : public FormOnBase
{
protected:
    PickLists()
    {
        form.show();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&form));
        form.PageControl1->setCurrentWidget(form.sitespage);
        form.fileminepd->addItems({q("Utilities - Desktop Utilities"), q("Utilities - File Utilities")});
        form.fileminepd->setCurrentIndex(0);
    }

    // Two notches of the wheel, down, over the list; true when the list kept them from the page.
    static bool wheelDown(QComboBox* box)
    {
        const QPointF at(box->width() / 2.0, box->height() / 2.0);
        bool taken = false;
        for (int notch = 0; notch < 2; ++notch) {
            QWheelEvent event(at, box->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                Qt::NoScrollPhase, false);
            QApplication::sendEvent(box, &event);
            taken = taken || event.isAccepted();
        }
        return taken;
    }
};

TEST_F(PickLists, WheelOverAnUnfocusedListLeavesItsValueToThePage)
{
    EXPECT_FALSE(wheelDown(form.fileminepd));
    EXPECT_EQ(form.fileminepd->currentText(), q("Utilities - Desktop Utilities"));
}

TEST_F(PickLists, FocusedListTakesTheWheel)
{
    form.fileminepd->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(form.fileminepd->hasFocus());
    EXPECT_TRUE(wheelDown(form.fileminepd));
    EXPECT_EQ(form.fileminepd->currentText(), q("Utilities - File Utilities"));
}

TEST_F(PickLists, OpenListIsWideEnoughForItsLongestItem)
{
    form.wincentpd->addItems({q("desktop"), q("world_wide_web")});
    form.wcsubcat->addItems({q("Notes & Organizers"), q("System Information and a good deal more besides")});
    for (QComboBox* box : {form.wincentpd, form.wcsubcat}) {
        box->showPopup();
        const QFontMetrics metrics = box->view()->fontMetrics();
        EXPECT_GT(box->view()->width(), metrics.horizontalAdvance(box->itemText(1))) << box->objectName().toStdString();
        box->hidePopup();
        // The box itself shows the first entry whole.
        EXPECT_GT(box->lineEdit()->width(), metrics.horizontalAdvance(box->itemText(0)));
    }
}

} // namespace
