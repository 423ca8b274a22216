#include "FormOnBase.h"

#include "app/TftpForm1.h"
#include "net/TFTP.h"

#include <QLineEdit>
#include <QListWidget>
#include <QTest>

namespace {

// The driver form's keys and mouse, without a server: Logon to no host fails with 102.
TEST_F(MainWindowTest, DriverFormKeysAndListsActAsButtons)
{
    TftpForm1& f = *form.ftpForm1();
    EXPECT_EQ(f.windowTitle(), QStringLiteral("FTP Demo"));
    EXPECT_TRUE(f.isHidden());
    EXPECT_EQ(f.tPasswd->echoMode(), QLineEdit::Password);
    const QString noHost = QStringLiteral("EXCEPTION: 102: The RemoteHost address is invalid (0.0.0.0).");

    // Enter in the host box presses Logon; the failure is flagged, not raised.
    QTest::keyClick(f.tHost, Qt::Key_Return);
    EXPECT_TRUE(form.ftperror());
    EXPECT_EQ(form.ftperrortext(), noHost.mid(11));
    EXPECT_EQ(f.lTrace->item(0)->text(), QStringLiteral("Loading Winsock"));
    EXPECT_EQ(f.lTrace->item(f.lTrace->count() - 1)->text(), noHost);

    // Enter in the folder box presses Change Directory: the folder is kept, the listing fails.
    form.setFtperror(false);
    f.eRemotePath->setText(QStringLiteral("pub"));
    f.eRemoteFile->setText(QStringLiteral("incoming"));
    EXPECT_EQ(f.FTP1->RemoteFile(), QStringLiteral("incoming"));
    QTest::keyClick(f.eRemotePath, Qt::Key_Enter);
    EXPECT_EQ(f.eRemotePath->text(), QStringLiteral("pub/incoming"));
    EXPECT_EQ(f.eRemoteFile->text(), QString());
    EXPECT_TRUE(form.ftperror());

    // A click on an entry names it as the remote file; the right button empties the list.
    f.lFiles->addItems({QStringLiteral("a.zip"), QStringLiteral("b.zip")});
    f.show();
    const QRect second = f.lFiles->visualItemRect(f.lFiles->item(1));
    QTest::mouseClick(f.lFiles->viewport(), Qt::LeftButton, {}, second.center());
    EXPECT_EQ(f.eRemoteFile->text(), QStringLiteral("b.zip"));
    QTest::mouseClick(f.lFiles->viewport(), Qt::RightButton, {}, second.center());
    EXPECT_EQ(f.lFiles->count(), 0);

    // The file list follows the window's size.
    f.resize(600, 500);
    EXPECT_EQ(f.lFiles->geometry().right() + 1, 600 - 20);
    EXPECT_EQ(f.lFiles->geometry().bottom() + 1, 500 - 50);
    f.hide();
}

} // namespace
