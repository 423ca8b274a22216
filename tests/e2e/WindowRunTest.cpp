// The run started from the window itself: the controls the recipes name, what the run leaves in
// the window, and Skip and Cancel pressed while a post waits.
#include "ProgramBase.h"
#include "app/PreviewDialog.h"
#include "app/RunResultsDialog.h"
#include "app/SitesPage.h"
#include "app/SubmissionHistoryDialog.h"
#include "app/TForm1.h"
#include "archive/TZipBuilder.h"
#include "net/THTTP.h"
#include "submit/RecipeBook.h"
#include "submit/SiteCatalogue.h"
#include "submit/SubmissionRun.h"
#include "support/FakeDialogs.h"
#include "support/GivenMailboxes.h"
#include "support/PeerProcess.h"
#include "support/RecordedRequests.h"
#include "support/Text.h"
#include "ui/TFlatButton.h"
#include "ui/TLed.h"
#include <QLineEdit>

#include "app/TSMTPForm.h"
#include "net/TmsSMTP.h"
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace {

// A window created in a fresh base folder, as the program creates it in the current folder.
class WindowRun : public ::testing::Test
{
protected:
    WindowRun()
        : m_previousFolder(QDir::currentPath())
    {
        QDir::setCurrent(base.path());
    }
    ~WindowRun() override
    {
        form.reset();
        QDir::setCurrent(m_previousFolder);
    }

    void createForm() { form = std::make_unique<TForm1>(); }

    std::unique_ptr<PeerProcess> startPeer(const QString& folder, const QStringList& extra = {})
    {
        auto peer = std::make_unique<PeerProcess>(
            s("http_peer.py"), QStringList{s("--record"), base.file(folder), s("--lifetime"), s("90")} + extra);
        EXPECT_TRUE(peer->started()) << peer->errors().toStdString();
        return peer;
    }

    // Picks the program as the user would.
    void load(const ProgramRecord& record)
    {
        writeProgram(base, record);
        form->appnameEnter();
        form->appname()->setEditText(record.name);
        form->appnameChange();
    }

    static ProgramRecord record(const QStringList& ticked)
    {
        return {s("Demo"),
            {{s("conname"), s("Ann")}, {s("conmail"), s("ann@demo.example")}, {s("char8name"), s("demo")},
                {s("bytesize"), s("4096")}, {s("status"), s("Shareware")}, {s("swjunkiepd"), s("Utilities")}},
            {s("A demo.")}, ticked};
    }

    QStringList logLines() const
    {
        QStringList lines;
        for (int i = 0; i < form->log()->count(); ++i)
            lines.append(form->log()->item(i)->text());
        return lines;
    }

    TempBase base;
    FakeDialogs fake;
    std::unique_ptr<TForm1> form;

private:
    QString m_previousFolder;
};

TEST_F(WindowRun, EveryControlTheRunNamesExists)
{
    createForm();
    for (const QString& name : RecipeBook::controlNames() + SubmissionRun::controlNames())
        EXPECT_NE(form->control(name), nullptr) << name.toStdString();
    for (const SiteEntry& e : SiteCatalogue::entries()) {
        for (const QString& box : {e.newBox, e.updateBox}) {
            if (!box.isEmpty()) {
                EXPECT_NE(qobject_cast<QCheckBox*>(form->control(box)), nullptr) << box.toStdString();
            }
        }
    }
}

TEST_F(WindowRun, SitesPageTakesDomainLabelsFromTheCatalogue)
{
    base.write(s("cat/catalogue.dat"), "[win95]\r\nLABEL=windows95.test\r\n[ALL]\r\nHOST=127.0.0.1:1\r\n");
    createForm();
    EXPECT_EQ(form->siteLabel(s("win95")), s("windows95.test"));
    EXPECT_EQ(form->findChild<QCheckBox*>(s("win95cb"))->text(), s("Update windows95.test"));
    EXPECT_EQ(form->siteLabel(s("dlnet")), s("dlnet.example"));
}

TEST_F(WindowRun, NewListingClearsTheUpdateBoxInTheWindowOnly)
{
    auto peer = startPeer(s("received"));
    base.write(s("cat/catalogue.dat"), catalogueForPeers(peer->port()));
    createForm();
    load(record({s("shareinnew"), s("shareinup"), s("sharedirnew"), s("sharedirup")}));

    form->submit()->click();
    EXPECT_EQ(fake.shown, QStringList{s("Shareware Submission is complete")});
    EXPECT_TRUE(form->findChild<QCheckBox*>(s("shareinnew"))->isChecked());
    EXPECT_FALSE(form->findChild<QCheckBox*>(s("shareinup"))->isChecked());
    // sharedir sends a field per box and clears nothing.
    EXPECT_TRUE(form->findChild<QCheckBox*>(s("sharedirup"))->isChecked());
    // The record saved at the start still holds the old state.
    EXPECT_TRUE(base.read(s("data/Demo.dat")).contains("shareinup=1"));

    const QList<RecordedRequest> sent = recordedRequests(base.file(s("received")));
    ASSERT_EQ(sent.size(), 2);
    EXPECT_EQ(sent[0].body.count("Tipo="), 1);
    EXPECT_TRUE(sent[0].body.contains("&Tipo=New+program&"));
    EXPECT_TRUE(sent[1].body.contains("&Type=NEW+UPLOAD&Type=UPDATE&"));
    EXPECT_EQ(logLines(),
        (QStringList{s("Shareware Intercom: Completed HTTP Post"), s("Shareware Directory: Completed HTTP Post")}));
    EXPECT_EQ(form->currentsite()->text(), QString());
    EXPECT_FALSE(form->httpled()->isEnabled());
}

TEST_F(WindowRun, PreviewListsWhatWouldGoAndLeavesTicksAndRecordAsTheyWere)
{
    auto peer = startPeer(s("received"));
    base.write(s("cat/catalogue.dat"), catalogueForPeers(peer->port()));
    createForm();
    load(record({s("shareinnew"), s("shareinup"), s("sharedirnew")}));
    // An edit not yet saved: the preview sends it, but leaves the stored record alone.
    form->findChild<QLineEdit*>(s("conname"))->setText(s("Ann Edited"));
    const QByteArray stored = base.read(s("data/Demo.dat"));

    PreviewDialog* dialog = form->previewSubmission();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(fake.shown, QStringList{s("Preview is complete")});
    EXPECT_TRUE(recordedRequests(base.file(s("received"))).isEmpty());
    EXPECT_EQ(base.read(s("data/Demo.dat")), stored);
    // The run clears shareinup; the preview puts it back.
    EXPECT_TRUE(form->findChild<QCheckBox*>(s("shareinup"))->isChecked());
    EXPECT_EQ(logLines(),
        (QStringList{s("Shareware Intercom: Completed HTTP Post"), s("Shareware Directory: Completed HTTP Post")}));

    // Each item with the site it was written for; a preview writes no report and leaves the last
    // run's results alone.
    ASSERT_EQ(dialog->items()->topLevelItemCount(), 2);
    EXPECT_EQ(dialog->items()->topLevelItem(1)->text(0), s("http/0002.req"));
    EXPECT_EQ(dialog->items()->topLevelItem(1)->text(1), s("Shareware Directory"));
    EXPECT_FALSE(QDir(base.file(s("reports"))).exists());
    EXPECT_EQ(form->showRunResults()->counts->text(), s("No run yet"));
    EXPECT_EQ(form->runcounts()->text(), QString());
    dialog->items()->setCurrentItem(dialog->items()->topLevelItem(1));
    EXPECT_TRUE(dialog->viewer()->isReadOnly());
    EXPECT_TRUE(dialog->viewer()->toPlainText().startsWith(s("POST ")));
    EXPECT_TRUE(dialog->viewer()->toPlainText().contains(s("&Type=NEW+UPLOAD&")))
        << dialog->viewer()->toPlainText().toStdString();
}

// The viewer shows text as it is, a binary upload as its size, and a large file's start only.
TEST(PreviewViewer, ShowsTextBinaryAndLargeFilesAsAUserCanReadThem)
{
    EXPECT_EQ(PreviewDialog::shownText("POST / HTTP/1.0\r\n", 17), s("POST / HTTP/1.0\r\n"));
    EXPECT_EQ(PreviewDialog::shownText(QByteArray("PK\3\4\0\0", 6), 5000),
        s("(5000 bytes of binary data, as they would be uploaded)"));
    EXPECT_TRUE(PreviewDialog::shownText("abc", 9000).endsWith(s("(… the first 3 of 9000 bytes)")));
}

enum class Press { Skip, Cancel, CloseKept };

struct PressCase
{
    const char* name;
    Press press;
    bool cancel;
    int laterPosts; // posts that reach the answering peer after the interrupted one
    bool completes;
    const char* outcomes; // of lg, swjunkie, sharedir, pcwin, sshak
};

class PressDuringPost : public WindowRun, public ::testing::WithParamInterface<PressCase>
{
};

TEST_P(PressDuringPost, InterruptsTheWaitingPost)
{
    const PressCase& c = GetParam();
    // lg's host never answers in time; every other site answers at once.
    auto stalling = startPeer(s("stalled"), {s("--stall"), s("60")});
    auto answering = startPeer(s("received"));
    base.write(s("cat/catalogue.dat"),
        "[ALL]\r\nHOST=127.0.0.1:" + QByteArray::number(answering->port()) + "\r\n"
            + givenMailboxes({{s("lg"), "HOST=127.0.0.1:" + QByteArray::number(stalling->port()) + "\r\n"}}));
    auto mailServer = std::make_unique<PeerProcess>(
        s("smtp_peer.py"), QStringList{s("--record"), base.file(s("mail")), s("--lifetime"), s("60")});
    ASSERT_TRUE(mailServer->started());
    createForm();
    // lg, swjunkie and sharedir have no cancel test; pcwin (mail) has one; sshak comes after it.
    load(record({s("lgnew"), s("swjunkienew"), s("sharedirnew"), s("pcwinnew"), s("sshakup")}));
    form->smtpedit()->setText(s("127.0.0.1:%1").arg(mailServer->port()));
    form->emailedit()->setText(s("author@demo.example"));
    QObject::connect(form->HTTP1(), &THTTP::OnConnected, form.get(), [this, &c] {
        if (form->currentsite()->text() == QLatin1String("Lockergnome"))
            QTimer::singleShot(0, form.get(), [this, &c] {
                if (c.press == Press::Skip)
                    form->skip()->click();
                else if (c.press == Press::Cancel)
                    form->cancel()->click();
                else
                    form->close(); // answered Cancel: the window stays
            });
    });
    fake.answers = {Dialogs::Answer::Cancel};

    form->submit()->click();
    QStringList expected{s("Lockergnome: Error Posting - 301: Interrupted"),
        s("Shareware Junkies: Completed HTTP Post"), s("Shareware Directory: Completed HTTP Post")};
    if (c.completes)
        expected << s("PC Win Resource Center: E-Mailed") << s("Software Shak: Completed HTTP Post");
    EXPECT_EQ(logLines(), expected);
    EXPECT_EQ(recordedRequests(base.file(s("received"))).size(), c.laterPosts);
    EXPECT_EQ(fake.shown, c.completes ? QStringList{s("Shareware Submission is complete")} : QStringList());
    EXPECT_EQ(form->cancelflag(), c.cancel);
    EXPECT_FALSE(form->run().submission().isRunning());
    EXPECT_EQ(fake.questions.size(), c.press == Press::CloseKept ? 1 : 0);
    QStringList outcomes;
    for (const SiteResult& site : form->run().submission().lastRecord().sites)
        outcomes.append(SiteResult::outcomeName(site.outcome));
    EXPECT_EQ(outcomes.join(QLatin1Char(',')), s(c.outcomes));
}

// An archive site run from the window: its files get the long texts wrapped, the window and the
// record keep them as typed.
TEST_F(WindowRun, ArchiveSiteWrapsItsFilesNotTheAuthorsText)
{
    TZipBuilder::setDefaultLibraryDir(s(QUILLET_BINARY_DIR));
    QDir().mkpath(base.file(s("ftp/incoming")));
    PeerProcess ftp(s("ftp_peer.py"),
        {s("--root"), base.file(s("ftp")), s("--record"), base.file(s("ftp.log")), s("--user"), s("Anonymous"),
            s("--password"), s("ann@demo.example"), s("--lifetime"), s("60")});
    ASSERT_TRUE(ftp.started()) << ftp.errors().toStdString();
    base.write(s("cat/catalogue.dat"), "[papa]\r\nFTPHOST=127.0.0.1:" + QByteArray::number(ftp.port()) + "\r\n");
    base.write(s("prog/demo.exe"), "program");
    createForm();
    ProgramRecord r = record({s("papanew")});
    r.fields[s("localpath")] = base.file(s("prog/demo.exe"));
    const QString words = s("Demo sorts notes by date, by colour and by size, and prints them all.");
    r.longdesc = {words + s(" Twice.")};
    load(r);

    form->submit()->click();
    EXPECT_EQ(fake.shown, QStringList{s("Shareware Submission is complete")});
    const QString papa = s("Papa WinSock-L FTP Archive: ");
    EXPECT_EQ(logLines(),
        (QStringList{papa + s("Saved ") + base.file(s("files/demo.txt")), papa + s("Zipped files\\demo.zip"),
            papa + s("Uploaded demo.zip to FTP"), papa + s("Uploaded demo.txt to FTP")}));
    EXPECT_EQ(form->longdesc()->toPlainText(), words + s(" Twice."));
    EXPECT_FALSE(form->hasUnsavedEdits());
    EXPECT_EQ(form->genlabel()->text(), QString());
    EXPECT_TRUE(
        base.read(s("files/demo.txt")).endsWith("Description         :\r\n" + words.toUtf8() + "\r\nTwice.\r\n"));
    EXPECT_EQ(base.read(s("ftp/incoming/demo.txt")), base.read(s("files/demo.txt")));
}

// Skip or Cancel while a mail waits for a server that never greets: Skip fails that one site and
// the run goes on; Cancel ends the run there. Neither shows an error box.
class PressDuringMail : public WindowRun, public ::testing::WithParamInterface<bool>
{
};

TEST_P(PressDuringMail, EndsTheMailNotTheProgram)
{
    const bool cancel = GetParam();
    auto answering = startPeer(s("received"));
    base.write(s("cat/catalogue.dat"),
        "[ALL]\r\nHOST=127.0.0.1:" + QByteArray::number(answering->port()) + "\r\n" + givenMailboxes());
    PeerProcess silent(
        s("smtp_peer.py"), {s("--record"), base.file(s("mail")), s("--silent"), s("--lifetime"), s("60")});
    ASSERT_TRUE(silent.started()) << silent.errors().toStdString();
    createForm();
    load(record({s("pcwinnew"), s("sshakup")}));
    form->smtpedit()->setText(s("127.0.0.1:%1").arg(silent.port()));
    form->emailedit()->setText(s("author@demo.example"));
    QObject::connect(form->SMTPForm()->msSMTP1, &TagSocket::OnOpen, form.get(), [this, cancel] {
        QTimer::singleShot(0, form.get(), [this, cancel] { (cancel ? form->cancel() : form->skip())->click(); });
    });

    form->submit()->click();
    QStringList expected{s("PC Win Resource Center: Error sending mail - Operation has been canceled")};
    if (!cancel)
        expected << s("Software Shak: Completed HTTP Post");
    EXPECT_EQ(logLines(), expected);
    EXPECT_TRUE(fake.errors.isEmpty()) << fake.errors.join(s("; ")).toStdString();
    EXPECT_EQ(fake.shown, cancel ? QStringList() : QStringList{s("Shareware Submission is complete")});
    QStringList outcomes;
    for (const SiteResult& site : form->run().submission().lastRecord().sites)
        outcomes.append(SiteResult::outcomeName(site.outcome));
    EXPECT_EQ(outcomes.join(QLatin1Char(',')), cancel ? s("failed,not reached") : s("skipped,sent"));
    EXPECT_FALSE(form->run().submission().isRunning());
}

INSTANTIATE_TEST_SUITE_P(Buttons, PressDuringMail, ::testing::Values(false, true),
    [](const ::testing::TestParamInfo<bool>& info) { return info.param ? "Cancel" : "Skip"; });

INSTANTIATE_TEST_SUITE_P(Buttons, PressDuringPost,
    ::testing::Values(PressCase{"Skip", Press::Skip, false, 3, true, "skipped,sent,sent,sent,sent"},
        PressCase{"Cancel", Press::Cancel, true, 2, false, "failed,sent,sent,not reached,not reached"},
        PressCase{"CloseRequestKept", Press::CloseKept, false, 3, true, "failed,sent,sent,sent,sent"}),
    [](const ::testing::TestParamInfo<PressCase>& info) { return std::string(info.param.name); });

TEST_F(WindowRun, ResultsDialogListsFailuresFirstAndTicksOnlyThem)
{
    auto peer = startPeer(s("received"), {s("--route"), s("/cgi-bin/formmail.cgi=404 Not Found")});
    base.write(s("cat/catalogue.dat"), catalogueForPeers(peer->port()));
    createForm();
    load(record({s("warehousenewcb"), s("lgnew"), s("sharedirnew")}));
    form->submit()->click();
    EXPECT_EQ(form->runcounts()->text(), s("2 sent, 1 failed, 0 skipped"));
    EXPECT_TRUE(QFileInfo(form->lastReportPath()).isFile()) << form->lastReportPath().toStdString();

    RunResultsDialog* dialog = form->showRunResults();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->counts->text(), s("2 sent, 1 failed, 0 skipped"));
    ASSERT_EQ(dialog->sites->topLevelItemCount(), 3);
    EXPECT_EQ(dialog->sites->topLevelItem(0)->text(0), s("Lockergnome"));
    EXPECT_EQ(dialog->sites->topLevelItem(0)->text(1), s("failed"));
    EXPECT_EQ(dialog->sites->topLevelItem(0)->text(2), s("Lockergnome: Error Posting - 151: 404 Not Found"));
    if (const QString dir = qEnvironmentVariable("QUILLET_SCREENSHOTS"); !dir.isEmpty())
        dialog->grab().save(dir + s("/results-dialog.png"));

    // Double-clicking the failed site shows its log lines.
    emit dialog->sites->itemDoubleClicked(dialog->sites->topLevelItem(0), 0);
    auto* siteLog = dialog->findChild<QDialog*>(s("siteLog"));
    ASSERT_NE(siteLog, nullptr);
    const QString shown = siteLog->findChild<QPlainTextEdit*>()->toPlainText();
    EXPECT_TRUE(shown.contains(s("Log:\nLockergnome: Error Posting - 151: 404 Not Found")));
    EXPECT_FALSE(shown.contains(s("Reply:"))) << "replies are kept in debug mode only";

    dialog->tickFailed->click();
    for (const SiteEntry& e : SiteCatalogue::entries()) {
        for (const QString& box : {e.newBox, e.updateBox}) {
            if (!box.isEmpty()) {
                EXPECT_EQ(qobject_cast<QCheckBox*>(form->control(box))->isChecked(), box == s("lgnew"))
                    << box.toStdString();
            }
        }
    }
    dialog->close();
}

// What a run sent stays after the window closes: the Sites page's rows, the program's history and
// the results of the newest report.
TEST_F(WindowRun, HistoryOfRunsOutlivesTheWindow)
{
    auto peer = startPeer(s("received"), {s("--route"), s("/cgi-bin/formmail.cgi=404 Not Found")});
    base.write(s("cat/catalogue.dat"), catalogueForPeers(peer->port()));
    createForm();
    load(record({s("lgnew"), s("sharedirnew")}));
    form->submit()->click();
    ASSERT_EQ(form->runcounts()->text(), s("1 sent, 1 failed, 0 skipped"));

    form.reset();
    createForm();
    RunResultsDialog* results = form->showRunResults();
    EXPECT_EQ(results->counts->text(), s("1 sent, 1 failed, 0 skipped"));
    EXPECT_TRUE(results->windowTitle().startsWith(s("Run Results: Demo"))) << results->windowTitle().toStdString();
    results->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    form->appname()->setEditText(s("Demo"));
    form->appnameChange();
    // The page reads the reports when it shows.
    form->show();
    form->findChild<QTabWidget*>()->setCurrentWidget(form->sitespage());
    const QString today = QLocale::c().toString(QDate::currentDate(), s("d MMM yyyy"));
    EXPECT_EQ(form->sitespage()->historyText(s("lg")), today + s(" · no version · failed"));
    EXPECT_EQ(form->sitespage()->historyText(s("sharedir")), today + s(" · no version · sent"));
    EXPECT_EQ(form->sitespage()->historyText(s("simtel")), s("not sent yet"));
    // The designed window clips the column away whole (the Update box's tooltip says it); a wider
    // one shows it whole.
    auto* rows = form->sitespage()->findChild<QWidget*>(s("sitesrows"));
    auto* column = rows->findChild<QWidget*>(s("lghistory"));
    EXPECT_LE(rows->width(), column->x());
    EXPECT_TRUE(form->findChild<QCheckBox*>(s("lgup"))->toolTip().contains(s("last went to Lockergnome")));
    form->resize(form->width() + 300, form->height());
    QCoreApplication::processEvents();
    EXPECT_GE(rows->width(), column->geometry().right());

    form->SubmissionHistory1()->trigger();
    auto* history = form->findChild<SubmissionHistoryDialog*>();
    ASSERT_NE(history, nullptr);
    ASSERT_EQ(history->runs->topLevelItemCount(), 1);
    EXPECT_EQ(history->runs->topLevelItem(0)->text(2), s("1 sent, 1 failed, 0 skipped"));
    history->open->click();
    EXPECT_EQ(form->findChild<RunResultsDialog*>()->sites->topLevelItemCount(), 2);
}

// Sites of one's own in the window: Skip pressed while one waits skips that one only, and the results
// dialog names it by its label and ticks only its box again; Cancel ends the run there, the later
// site of one's own not reached.
class OwnSitesRun : public WindowRun, public ::testing::WithParamInterface<bool>
{
};

TEST_P(OwnSitesRun, SkipCancelAndTheResultsTakeThemAsAnyOther)
{
    const bool cancel = GetParam();
    auto stalling = startPeer(s("stalled"), {s("--stall"), s("60")});
    auto answering = startPeer(s("received"));
    base.write(s("cat/catalogue.dat"), catalogueForPeers(answering->port()));
    for (const auto& [file, key, port] :
        {std::tuple{"a.site", "Ownslow", stalling->port()}, std::tuple{"b.site", "Ownok", answering->port()}})
        base.write(s("cat/sites/") + s(file),
            QByteArray("[site]\nKEY=") + key + "\nLABEL=" + key + " Site\nCHANNEL=form\nURL=http://127.0.0.1:"
                + QByteArray::number(port) + "/own.cgi\n[fields]\nname={appname}\n");
    createForm();
    load(record({s("lgnew")}));
    for (const char* box : {"Ownslownew", "Ownokup"})
        qobject_cast<QCheckBox*>(form->control(s(box)))->setChecked(true);
    QObject::connect(form->HTTP1(), &THTTP::OnConnected, form.get(), [this, cancel] {
        if (form->currentsite()->text() == QLatin1String("Ownslow Site"))
            QTimer::singleShot(0, form.get(), [this, cancel] { (cancel ? form->cancel() : form->skip())->click(); });
    });
    form->submit()->click();
    QStringList expected{s("Lockergnome: Completed HTTP Post"), s("Ownslow Site: Error Posting - 301: Interrupted")};
    if (!cancel)
        expected << s("Ownok Site: Completed HTTP Post");
    EXPECT_EQ(logLines(), expected);
    EXPECT_EQ(form->runcounts()->text(),
        cancel ? s("1 sent, 1 failed, 0 skipped, 1 not reached") : s("2 sent, 0 failed, 1 skipped"));
    if (cancel)
        return;

    RunResultsDialog* dialog = form->showRunResults();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->sites->topLevelItem(0)->text(0), s("Ownslow Site"));
    EXPECT_EQ(dialog->sites->topLevelItem(0)->text(1), s("skipped"));
    dialog->tickFailed->click();
    for (const char* box : {"lgnew", "Ownslownew", "Ownslowup", "Ownokup"})
        EXPECT_EQ(qobject_cast<QCheckBox*>(form->control(s(box)))->isChecked(), s(box) == s("Ownslownew")) << box;
    dialog->close();
}

INSTANTIATE_TEST_SUITE_P(Buttons, OwnSitesRun, ::testing::Values(false, true),
    [](const ::testing::TestParamInfo<bool>& info) { return info.param ? "Cancel" : "Skip"; });

// In debug mode the failed site's view also shows what its server answered.
TEST_F(WindowRun, DebugModeResultsShowTheFailedSitesReply)
{
    auto peer = startPeer(s("received"), {s("--route"), s("/cgi-bin/formmail.cgi=404 Not Found")});
    base.write(s("cat/catalogue.dat"), catalogueForPeers(peer->port()));
    QDir().mkpath(base.file(s("responses")));
    createForm();
    load(record({s("warehousenewcb"), s("lgnew")}));
    form->setDebugmode(true);
    form->submit()->click();

    RunResultsDialog* dialog = form->showRunResults();
    ASSERT_NE(dialog, nullptr);
    ASSERT_EQ(dialog->sites->topLevelItem(0)->text(1), s("failed"));
    emit dialog->sites->itemDoubleClicked(dialog->sites->topLevelItem(0), 0);
    auto* siteLog = dialog->findChild<QDialog*>(s("siteLog"));
    ASSERT_NE(siteLog, nullptr);
    const QString shown = siteLog->findChild<QPlainTextEdit*>()->toPlainText();
    const qsizetype reply = shown.indexOf(s("\n\nReply:\n"));
    ASSERT_GE(reply, 0) << shown.toStdString();
    EXPECT_TRUE(shown.indexOf(s("404 Not Found"), reply) > reply) << shown.toStdString();
    dialog->close();
}

TEST_F(WindowRun, DebugModeCapturesEachReplyInTheResponsesFolder)
{
    auto peer = startPeer(s("received"));
    base.write(s("cat/catalogue.dat"), catalogueForPeers(peer->port()));
    createForm();
    load(record({s("warehousenewcb")}));
    form->setDebugmode(true);
    form->submit()->click();
    const QStringList captures = QDir(base.file(s("responses"))).entryList({s("*.htm")}, QDir::Files);
    ASSERT_EQ(captures.size(), 1);
    EXPECT_TRUE(base.read(s("responses/") + captures[0]).contains("200 OK"));
    EXPECT_EQ(form->httpbytes()->text(), QString());

    // Without the folder the capture fails with its message; the run still completes.
    fake.shown.clear();
    QDir(base.file(s("responses"))).removeRecursively();
    form->submit()->click();
    ASSERT_EQ(fake.shown.size(), 2);
    EXPECT_TRUE(fake.shown[0].startsWith(s("Cannot create file ") + base.file(s("responses/"))));
    EXPECT_EQ(fake.shown[1], s("Shareware Submission is complete"));
}

} // namespace
