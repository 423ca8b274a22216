// The visual shell components: lamps, flat buttons, the about box's switch and the splash flag.
#include "ui/TAboutBox.h"
#include "ui/TFlatButton.h"
#include "ui/TLed.h"
#include "ui/TSplash.h"

#include <QImage>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// The colour at the lamp's centre.
QColor centreColour(TLed& lamp)
{
    lamp.resize(17, 17);
    const QImage image = lamp.grab().toImage();
    return image.pixelColor(image.width() / 2, image.height() / 2);
}

} // namespace

TEST(Lamp, IsLitWhileEnabledAndDarkWhileDisabled)
{
    TLed lamp;
    EXPECT_FALSE(lamp.isLit()); // starts dark
    const QColor dark = centreColour(lamp);
    lamp.setEnabled(true);
    EXPECT_TRUE(lamp.isLit());
    const QColor lit = centreColour(lamp);
    EXPECT_GT(lit.lightness(), dark.lightness() + 60);
    // Aqua light on a dark teal body: no red in either.
    EXPECT_LT(lit.red(), lit.green());
    EXPECT_LT(dark.red(), dark.green());
}

TEST(FlatButton, ClicksLikeAPushButton)
{
    TFlatButton button(QStringLiteral("Save/Submit"));
    QSignalSpy clicked(&button, &QPushButton::clicked);
    QTest::mouseClick(&button, Qt::LeftButton);
    EXPECT_EQ(clicked.count(), 1);
    EXPECT_TRUE(button.isFlat());
}

TEST(AboutBox, DebugSwitchReportsItsPress)
{
    TAboutBox box(QStringLiteral("Quillet 1.20b"));
    QSignalSpy pressed(&box, &TAboutBox::debugClicked);
    EXPECT_EQ(box.debugButton()->text(), QStringLiteral("&Debug"));
    box.debugButton()->click();
    EXPECT_EQ(pressed.count(), 1);
    EXPECT_FALSE(box.isVisible());
}

TEST(Splash, StaysUpUntilTheFirstTickOfItsTimer)
{
    TSplash splash(QStringLiteral("starting"));
    EXPECT_TRUE(splash.stillShowing());
    EXPECT_TRUE(splash.timer().isActive());
    EXPECT_TRUE(splash.timer().isSingleShot());
    EXPECT_GE(splash.timer().interval(), 1800);
    EXPECT_TRUE(splash.windowFlags() & Qt::FramelessWindowHint);
    // The tick itself, without waiting for it.
    QMetaObject::invokeMethod(const_cast<QTimer*>(&splash.timer()), "timeout", Qt::DirectConnection);
    EXPECT_FALSE(splash.stillShowing());
}
