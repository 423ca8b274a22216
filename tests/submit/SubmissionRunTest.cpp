#include "submit/SubmissionRun.h"
#include "FakeRunWindow.h"
#include "core/Errors.h"
#include "submit/RunRecord.h"
#include "support/FakeDialogs.h"
#include "support/GivenMailboxes.h"
#include "support/PeerProcess.h"
#include "support/RecordedRequests.h"
#include "support/TempBase.h"
#include "support/Text.h"

#include <QFileInfo>

#include <gtest/gtest.h>

namespace {

using Outcome = SubmissionRun::Outcome;

const QString kComplete = QStringLiteral("Shareware Submission is complete");

// A fresh base folder, a window holding a valid record, and the dialogs the run shows.
class RunTest : public ::testing::Test
{
protected:
    RunTest()
    {
        w.base = base.path();
        w.fillValidRecord();
    }

    // Starts a recording peer and points every site at it.
    void startPeer(const QStringList& extra = {})
    {
        QStringList args{s("--record"), base.file(s("received")), s("--lifetime"), s("60")};
        peer = std::make_unique<PeerProcess>(s("http_peer.py"), args + extra);
        ASSERT_TRUE(peer->started()) << peer->errors().toStdString();
        pointAllAt(QString::number(peer->port()));
    }

    void pointAllAt(const QString& port, const QMap<QString, QByteArray>& siteLines = {})
    {
        base.write(
            s("cat/catalogue.dat"), "[ALL]\r\nHOST=127.0.0.1:" + port.toLatin1() + "\r\n" + givenMailboxes(siteLines));
    }

    QList<RecordedRequest> received() const { return recordedRequests(base.file(s("received"))); }

    void tick(std::initializer_list<const char*> boxes)
    {
        for (const char* b : boxes)
            w.checks[s(b)] = true;
    }

    // The texts shown in one control, in order.
    QStringList shownIn(const QString& control) const
    {
        QStringList out;
        for (const QString& e : w.events) {
            if (e.startsWith(control + QLatin1Char('=')))
                out.append(e.mid(control.size() + 1));
        }
        return out;
    }

    TempBase base;
    FakeRunWindow w;
    FakeDialogs dialogs;
    std::unique_ptr<PeerProcess> peer;
};

struct PreconditionCase
{
    const char* name;
    const char* control;
    const char* value;
    const char* message;
};

class Preconditions : public RunTest, public ::testing::WithParamInterface<PreconditionCase>
{
};

TEST_P(Preconditions, FirstFailingCheckShowsItsMessageAfterTheSaves)
{
    const PreconditionCase& c = GetParam();
    w.log = {s("line of an earlier run")};
    QString value = s(c.value);
    value.replace(s("{base}"), base.path());
    w.texts[s(c.control)] = value;
    tick({"essennew"});
    pointAllAt(s("1"));

    EXPECT_EQ(w.submission.start(w, w.channels), Outcome::PreconditionFailed);
    EXPECT_EQ(dialogs.shown, QStringList{s(c.message)});
    EXPECT_TRUE(w.log.isEmpty());
    EXPECT_EQ(w.events.mid(0, 5),
        (QStringList{s("clear ftplist"), s("clear log"), s("savesettings"), s("getsettings"), s("savesite")}));
    EXPECT_TRUE(shownIn(s("currentsite")).isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Run, Preconditions,
    ::testing::Values(PreconditionCase{"EmptyByteSize", "bytesize", "", "Invalid Byte Size"},
        PreconditionCase{"LetterInByteSize", "bytesize", "12a4", "Invalid Byte Size"},
        PreconditionCase{"ByteSizeBeyond32Bits", "bytesize", "4294967296", "Invalid Byte Size"},
        PreconditionCase{"NoAppName", "appname", "", "You have not selected an app to submit."},
        PreconditionCase{"NoEightCharacterName", "char8name", "", "The 8 Character Filename for this app is blank."},
        PreconditionCase{
            "NoLocalPath", "localpath", "", "You have selected an invalid local path for this application's file."},
        PreconditionCase{"LocalPathMissing", "localpath", "{base}/files/gone.zip",
            "You have selected an invalid local path for this application's file."},
        PreconditionCase{"LocalPathIsAFolder", "localpath", "{base}/files",
            "You have selected an invalid local path for this application's file."}),
    [](const ::testing::TestParamInfo<PreconditionCase>& info) { return std::string(info.param.name); });

TEST_F(RunTest, NoTickBoxCompletesWithAnEmptyLog)
{
    w.log = {s("old")};
    w.lamps[s("httpled")] = true;
    EXPECT_EQ(w.submission.start(w, w.channels), Outcome::Completed);
    EXPECT_EQ(dialogs.shown, QStringList{kComplete});
    EXPECT_TRUE(w.log.isEmpty());
    EXPECT_FALSE(w.lamps.value(s("httpled")));
    EXPECT_EQ(w.texts.value(s("currentsite")), QString());
}

TEST_F(RunTest, BadSettingsEndTheRunBeforeTheRecordIsSaved)
{
    tick({"essennew"});
    w.getsettingsFails = [] { throw EConvertError(s("8o")); };
    EXPECT_EQ(w.submission.start(w, w.channels), Outcome::Failed);
    EXPECT_EQ(dialogs.shown, QStringList{s("'8o' is not a valid integer value")});
    EXPECT_FALSE(w.events.contains(s("savesite")));
    EXPECT_FALSE(w.submission.isRunning());
}

TEST_F(RunTest, SuccessShowsEachSitesTextsThenIdle)
{
    startPeer();
    tick({"essennew", "sshakup"});
    EXPECT_EQ(w.submission.start(w, w.channels), Outcome::Completed);
    EXPECT_EQ(w.log,
        (QStringList{
            s("The Essential Shareware Pages: Completed HTTP Post"), s("Software Shak: Completed HTTP Post")}));
    EXPECT_EQ(shownIn(s("currentsite")), (QStringList{s("The Essential Shareware Pages"), s("Software Shak"), {}}));
    EXPECT_EQ(shownIn(s("httpstatus")),
        (QStringList{s("Preparing to Post to The Essential Shareware Pages"),
            s("Posting Data to The Essential Shareware Pages"), s("Posted to The Essential Shareware Pages"), s("Idle"),
            s("Preparing to Post to Software Shak"), s("Posting to Software Shak"), s("Posted to Software Shake"),
            s("Idle")}));
    EXPECT_EQ(shownIn(s("mailstatus")), (QStringList{s("Idle"), s("Idle")}));
    EXPECT_FALSE(w.busy);
    EXPECT_EQ(w.busyChanges, 4);
    EXPECT_EQ(received().size(), 2);
    EXPECT_EQ(dialogs.shown, QStringList{kComplete});
}

class Redirects : public RunTest, public ::testing::WithParamInterface<const char*>
{
};

TEST_P(Redirects, CountAsSuccessWithTheRedirectTexts)
{
    startPeer({s("--status"), s(GetParam())});
    tick({"essenup", "sshaknew"});
    EXPECT_EQ(w.submission.start(w, w.channels), Outcome::Completed);
    EXPECT_EQ(w.log,
        (QStringList{s("Essential Shareware Pages: Completed HTTP Post"), s("Software Shak: Completed HTTP Post")}));
    const QStringList status = shownIn(s("httpstatus"));
    EXPECT_TRUE(status.contains(s("Posted to Essential Shareware Pages")));
    EXPECT_TRUE(status.contains(s("Posted to Software Shak")));
    EXPECT_FALSE(status.contains(s("Posted to Software Shake")));
    EXPECT_EQ(status.last(), s("Idle"));
}

INSTANTIATE_TEST_SUITE_P(Run, Redirects, ::testing::Values("302 Found", "302 Moved Temporarily", "302 Document Found"));

TEST_F(RunTest, OtherAnswersAndRefusedConnectionsAreLoggedAndTheRunGoesOn)
{
    // A port nobody listens on: a peer that has already stopped.
    quint16 closedPort = 0;
    {
        PeerProcess gone(s("http_peer.py"), {s("--record"), base.file(s("gone")), s("--lifetime"), s("30")});
        ASSERT_TRUE(gone.started());
        closedPort = gone.port();
    }
    startPeer(
        {s("--route"), s("/submit.cgi=404 Not Found"), s("--route"), s("/cgi-bin/formmail.cgi=301 Moved Permanently")});
    pointAllAt(
        QString::number(peer->port()), {{s("fking"), "HOST=127.0.0.1:" + QByteArray::number(closedPort) + "\r\n"}});
    tick({"warehousenewcb", "fkingnew", "lgnew", "sshaknew"});

    EXPECT_EQ(w.submission.start(w, w.channels), Outcome::Completed);
    ASSERT_EQ(w.log.size(), 4);
    EXPECT_EQ(w.log[0], s("Winsock Warehouse: Error Posting - 151: 404 Not Found"));
    EXPECT_TRUE(w.log[1].startsWith(s("File King: Error Posting - 10061: "))) << w.log[1].toStdString();
    EXPECT_EQ(w.log[2], s("Lockergnome: Error Posting - 151: 301 Moved Permanently"));
    EXPECT_EQ(w.log[3], s("Software Shak: Completed HTTP Post"));
    // After an error the status labels keep their texts until the next site writes its own.
    const QStringList status = shownIn(s("httpstatus"));
    EXPECT_EQ(status.mid(0, 3),
        (QStringList{s("Preparing to Post to Winsock Warehouse"), s("Posting Data to Winsock Warehouse"),
            s("Preparing to Post to File King")}));
    EXPECT_FALSE(w.busy);
    EXPECT_EQ(received().size(), 3);
}

TEST_F(RunTest, CancelEndsSilentlyAtTheNextCancelTest)
{
    startPeer();
    // lg, swjunkie and sharedir have no cancel test; pcwin (mail) after them has one; sshak follows.
    tick({"lgnew", "swjunkienew", "sharedirup", "pcwinnew", "sshakup"});
    w.texts[s("swjunkiepd")] = s("Utilities");
    w.onText = [this](const QString& control, const QString& text) {
        if (control == QLatin1String("currentsite") && text == QLatin1String("Lockergnome"))
            w.cancel = true;
    };
    EXPECT_EQ(w.submission.start(w, w.channels), Outcome::Cancelled);
    EXPECT_TRUE(dialogs.shown.isEmpty());
    EXPECT_EQ(w.log.size(), 3);
    QList<QByteArray> lines;
    for (const RecordedRequest& r : received())
        lines.append(r.requestLine);
    EXPECT_EQ(lines,
        (QList<QByteArray>{"POST /cgi-bin/formmail.cgi HTTP/1.0",
            "POST /_vti_bin/shtml.dll/Working/form_sub95_utilities.htm HTTP/1.0",
            "POST /cgi-bin/web552ea/FormMail.pl HTTP/1.0"}));

    // The next run starts with the flag clear and visits every ticked site, pcwin's mail included.
    PeerProcess smtp(s("smtp_peer.py"), {s("--record"), base.file(s("mail")), s("--lifetime"), s("60")});
    ASSERT_TRUE(smtp.started()) << smtp.errors().toStdString();
    w.texts[s("smtpedit")] = s("127.0.0.1:%1").arg(smtp.port());
    w.texts[s("emailedit")] = s("author@demo.example");
    w.onText = nullptr;
    EXPECT_EQ(w.submission.start(w, w.channels), Outcome::Completed) << dialogs.errors.join(s("|")).toStdString();
    EXPECT_EQ(received().size(), 7);
    EXPECT_TRUE(QFileInfo::exists(base.file(s("mail/0001.req"))));
}

TEST_F(RunTest, SecondPressDuringARunIsRefusedAndSaid)
{
    startPeer();
    tick({"warehousenewcb", "lgup"});
    w.texts[s("genlabel")] = s("zip progress");
    QList<Outcome> inner;
    w.onPump = [&] {
        if (inner.isEmpty())
            inner.append(w.submission.start(w, w.channels));
    };
    EXPECT_EQ(w.submission.start(w, w.channels), Outcome::Completed);
    EXPECT_EQ(inner, QList<Outcome>{Outcome::Refused});
    // Said while the run went on, and gone once it ended.
    EXPECT_EQ(shownIn(s("genlabel")), (QStringList{SubmissionRun::AlreadyRunningMessage, s("zip progress")}));
    EXPECT_EQ(received().size(), 2);
    EXPECT_EQ(dialogs.shown, QStringList{kComplete});
    EXPECT_FALSE(w.submission.isRunning());
}

TEST_F(RunTest, CategoryWithoutAFormPageIsLoggedAndNothingSent)
{
    startPeer();
    tick({"swjunkienew", "warehousenewcb"});
    w.texts[s("swjunkiepd")] = s("utilities");
    EXPECT_EQ(w.submission.start(w, w.channels), Outcome::Completed);
    EXPECT_EQ(w.log,
        (QStringList{s("Winsock Warehouse: Completed HTTP Post"),
            s("Shareware Junkies: Error Posting - No form page for the category \"utilities\"")}));
    ASSERT_EQ(received().size(), 1);
    EXPECT_EQ(received()[0].requestLine, QByteArray("POST /submit.cgi HTTP/1.0"));
}

TEST_F(RunTest, DebugEchoShowsTheBodiesOfMarkedSitesOnly)
{
    startPeer();
    tick({"essennew", "warehousenewcb"});
    w.debug = true;
    w.submission.start(w, w.channels);
    const QList<RecordedRequest> sent = received();
    ASSERT_EQ(sent.size(), 2);
    EXPECT_EQ(w.echoes, QStringList{QString::fromUtf8(sent[0].body)});
}

TEST_F(RunTest, FailureOutsideTheHttpClientEndsTheRunThroughTheErrorHandler)
{
    startPeer();
    tick({"essennew", "warehousenewcb"});
    w.onText = [](const QString& control, const QString& text) {
        if (control == QLatin1String("httpstatus") && text.startsWith(QLatin1String("Posting Data to The Essential")))
            throw QuilletError(s("Disk full"));
    };
    EXPECT_EQ(w.submission.start(w, w.channels), Outcome::Failed);
    EXPECT_EQ(dialogs.shown, QStringList{s("Disk full")});
    EXPECT_FALSE(w.busy);
    EXPECT_TRUE(received().isEmpty());
    EXPECT_FALSE(w.submission.isRunning());
}

} // namespace

namespace {

class ByteSizes : public RunTest, public ::testing::WithParamInterface<std::pair<const char*, const char*>>
{
};

TEST_P(ByteSizes, SizeInKilobytesComesFromTheCheckedByteSize)
{
    startPeer();
    w.texts[s("bytesize")] = s(GetParam().first);
    tick({"lgnew", "cswup"});
    ASSERT_EQ(w.submission.start(w, w.channels), Outcome::Completed);
    const QList<RecordedRequest> sent = received();
    ASSERT_EQ(sent.size(), 2);
    const QByteArray kb = GetParam().second;
    EXPECT_TRUE(sent[0].body.contains("&Size=" + kb + "&")) << sent[0].body.constData();
    EXPECT_TRUE(sent[0].body.contains("&k=" + QByteArray(GetParam().first) + "+bytes&"));
    EXPECT_TRUE(sent[1].body.contains("&SIZE=" + kb + "&")) << sent[1].body.constData();
}

INSTANTIATE_TEST_SUITE_P(Run, ByteSizes,
    ::testing::Values(std::make_pair("1023", "0"), std::make_pair("2048", "2"), std::make_pair("1500000", "1464")));

// The replies a debug run keeps with a site are bounded, however much the servers send.
TEST(RunRecordReplies, KeptPerSiteUpToTheLimitAndOnlyInsideASite)
{
    RunRecord record;
    record.reply(s("before any site"));
    record.beginSite(s("e1"), s("one"), {});
    record.reply(QString(RunRecord::ReplyLimit + 10, QLatin1Char('a')));
    record.reply(s("dropped"));
    record.endSite(s("One"));
    record.beginSite(s("e2"), s("two"), {});
    record.reply(s("first"));
    record.reply(s("second"));
    record.endSite(s("Two"));
    ASSERT_EQ(record.sites.size(), 2U);
    EXPECT_EQ(record.sites[0].replies.size(), RunRecord::ReplyLimit);
    EXPECT_EQ(record.sites[1].replies, s("first\n\nsecond"));
}

} // namespace
