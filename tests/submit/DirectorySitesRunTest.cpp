// What the directory sites leave in the window: the update boxes their new listings clear, the
// run that win95 ends, the requests shown in debug mode.
#include "FakeRunWindow.h"
#include "submit/SubmissionRun.h"
#include "support/FakeDialogs.h"
#include "support/GivenMailboxes.h"
#include "support/PeerProcess.h"
#include "support/TempBase.h"
#include "support/Text.h"

#include <gtest/gtest.h>

namespace {

using Outcome = SubmissionRun::Outcome;

class DirectoryRun : public ::testing::Test
{
protected:
    void SetUp() override
    {
        w.base = base.path();
        w.fillValidRecord();
        peer = std::make_unique<PeerProcess>(
            s("http_peer.py"), QStringList{s("--record"), base.file(s("received")), s("--lifetime"), s("60")});
        ASSERT_TRUE(peer->started()) << peer->errors().toStdString();
        // The FTP channel here sends nothing: any FTP host sets the FTP sites up.
        base.write(s("cat/catalogue.dat"),
            "[ALL]\r\nHOST=127.0.0.1:" + QByteArray::number(peer->port()) + "\r\nFTPHOST=ftp.sites.test\r\n"
                + givenMailboxes());
    }

    void tick(const QStringList& boxes)
    {
        for (const QString& b : boxes)
            w.checks[b] = true;
    }

    TempBase base;
    FakeRunWindow w;
    FakeDialogs dialogs;
    std::unique_ptr<PeerProcess> peer;
};

// The three sites whose update goes by another channel than the new listing must lose their
// update box too, or the same run would also send the update.
TEST_F(DirectoryRun, NewListingsClearTheUpdateBoxesExceptSlaughterhouses)
{
    const QStringList cleared{s("tucowscb"), s("win95cb"), s("bit32cb"), s("kccb"), s("wincentcb"), s("downloadcb"),
        s("fileminecb"), s("shareware95cb")};
    tick({s("tucowsnewcb"), s("win95newcb"), s("new32bit"), s("kellcentnewcb"), s("wincentnewcb"), s("downloadnewcb"),
        s("fileminenewcb"), s("sharewarenewcb"), s("slaughnewcb"), s("Slaughterhousecb")});
    tick(cleared);
    w.texts[s("platforms")] = s("Windows 95");

    EXPECT_EQ(w.submission.start(w, w.channels), Outcome::Completed);
    for (const QString& box : cleared)
        EXPECT_FALSE(w.checks.value(box)) << box.toStdString();
    EXPECT_TRUE(w.checks.value(s("Slaughterhousecb")));
    // Nine posts and tucows' upload; an update mail would have failed for want of a server.
    EXPECT_EQ(w.log.size(), 10) << w.log.join(QLatin1Char('\n')).toStdString();
}

TEST_F(DirectoryRun, Win95EndsTheRunSilentlyAfterItsOpening)
{
    tick({s("win95newcb"), s("win95cb"), s("kellcentnewcb")});
    w.texts[s("platforms")] = s("Windows 3.x");

    EXPECT_EQ(w.submission.start(w, w.channels), Outcome::EndedBySite);
    EXPECT_TRUE(w.log.isEmpty());
    EXPECT_TRUE(dialogs.shown.isEmpty());
    EXPECT_FALSE(w.checks.value(s("win95cb")));
    EXPECT_EQ(w.texts.value(s("currentsite")), s("win95.example"));
    EXPECT_EQ(w.texts.value(s("httpstatus")), s("Preparing to Post to win95.example"));
    EXPECT_TRUE(w.lamps.value(s("httpled")));
    EXPECT_FALSE(w.busy);
}

// File Mine shows its whole address, win95 and download their bodies; the other sites nothing.
TEST_F(DirectoryRun, DebugModeShowsTheEchoingSitesRequests)
{
    w.debug = true;
    tick({s("tucowsnewcb"), s("win95newcb"), s("downloadnewcb"), s("fileminenewcb"), s("slaughnewcb")});
    w.texts[s("appname")] = s("Demo App");
    EXPECT_EQ(w.submission.start(w, w.channels), Outcome::Completed);
    ASSERT_EQ(w.echoes.size(), 3);
    EXPECT_TRUE(w.echoes[0].startsWith(s("body=New+Shareware+Submission&"))) << w.echoes[0].toStdString();
    EXPECT_TRUE(w.echoes[1].startsWith(s("title=Demo+App&"))) << w.echoes[1].toStdString();
    EXPECT_TRUE(
        w.echoes[2].startsWith(QStringLiteral("http://127.0.0.1:%1/AddFiles_Save?companyname=&").arg(peer->port())));
    EXPECT_TRUE(w.echoes[2].contains(s("&filetitle=Demo+App&")));
}

} // namespace
