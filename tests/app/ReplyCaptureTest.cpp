#include "FormOnBase.h"

#include "net/NetworkWait.h"
#include "net/THTTP.h"
#include "support/PeerProcess.h"
#include "ui/TFlatButton.h"

#include <QLabel>
#include <QListWidget>
#include <QTimer>

namespace {

// An endless reply keeps only its last megabyte in the capture list while the byte count stays
// exact, and Skip ends it.
TEST_F(MainWindowTest, EndlessReplyKeepsTheCaptureBoundedUntilSkip)
{
    PeerProcess peer(QStringLiteral("http_peer.py"),
        {QStringLiteral("--record"), base.file(QStringLiteral("requests")), QStringLiteral("--endless"),
            QStringLiteral("/forever"), QStringLiteral("--lifetime"), QStringLiteral("90")});
    ASSERT_TRUE(peer.started()) << peer.errors().toStdString();
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [] { interruptNetworkWaits(); });
    watchdog.start(60000);

    qint64 received = 0;
    QByteArray lastPiece;
    bool skipped = false;
    qint64 largestHeld = 0;
    QObject::connect(form.HTTP1(), &THTTP::OnTransfer, [&](qint64 count, const QByteArray& piece) {
        received = count;
        lastPiece = piece;
        qint64 held = 0;
        for (int i = 0; i < form.xfer()->count(); ++i)
            held += form.xfer()->item(i)->text().toLocal8Bit().size();
        largestHeld = std::max(largestHeld, held);
        if (count > 4 * RunController::ReplyCaptureLimit && !skipped) {
            skipped = true;
            QTimer::singleShot(0, [&] { form.skip()->click(); });
        }
    });
    form.HTTP1()->setWinsockLoaded(true);
    form.HTTP1()->setURL(QStringLiteral("http://127.0.0.1:%1/forever").arg(peer.port()));
    try {
        form.HTTP1()->setAction(httpGet);
        FAIL() << "an endless reply ended by itself";
    } catch (const QuilletError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("301: Interrupted"));
    }
    EXPECT_TRUE(skipped);
    EXPECT_GT(largestHeld, RunController::ReplyCaptureLimit / 2);
    EXPECT_LE(largestHeld, RunController::ReplyCaptureLimit + 2048);
    EXPECT_GT(received, 4 * RunController::ReplyCaptureLimit);
    ASSERT_GT(form.xfer()->count(), 0);
    EXPECT_EQ(form.xfer()->item(form.xfer()->count() - 1)->text(), QString::fromLocal8Bit(lastPiece));
}

} // namespace
