#include "FormOnBase.h"
#include "app/MailFormChannel.h"
#include "app/TSMTPForm.h"
#include "app/TSetupDlg.h"
#include "net/NetworkWait.h"
#include "net/TmsMessage.h"
#include "net/TmsSMTP.h"
#include "submit/MemoBody.h"
#include "submit/SmtpClientChannel.h"
#include "support/PeerProcess.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QTimer>
#include <QToolButton>

namespace {

QString s(const char* text)
{
    return QString::fromUtf8(text);
}

class MailFormTest : public MainWindowTest
{
protected:
    MailFormTest()
        : mail(*form.SMTPForm(), *form.SetupDlg())
    {
        // A hung wait fails the test instead of hanging it; passing never depends on this.
        watchdog.setSingleShot(true);
        QObject::connect(&watchdog, &QTimer::timeout, [] { interruptNetworkWaits(); });
        watchdog.start(60000);
    }

    void startPeer(const QStringList& extra = {})
    {
        peer = std::make_unique<PeerProcess>(
            s("smtp_peer.py"), QStringList{s("--record"), base.file(s("mail")), s("--lifetime"), s("90")} + extra);
        ASSERT_TRUE(peer->started()) << peer->errors().toStdString();
        mail.takeSettings(s("127.0.0.1:%1").arg(peer->port()), s("ann@demo.example"), s("Ann"));
        mail.setRecipient(s("submit@site.example"));
        mail.setSubject(s("Submit"));
        mail.clearBody();
        mail.addBodyLine(s("Hello"));
    }

    // The message of the error the send raised, or "" when it succeeded.
    QString send() { return mail.send().text; }

    QString statusPanel() const { return form.SMTPForm()->StatusPanels[0]->text(); }

    MailFormChannel mail;
    std::unique_ptr<PeerProcess> peer;
    QTimer watchdog;
};

// The body goes to the client as the memo that used to carry it would have given it back.
TEST(MailBodyText, MatchesWhatTheMemoGivesBack)
{
    const QString cases[] = {
        s(""),
        s("one line"),
        s("a\r\nb\rc\nd\r\r\ne"),
        s("trailing\r\n"),
        s("\n\nleading"),
        s("no\u00a0break and\u2028line\u2029paragraph"),
        s("frame\ufdd0start\ufdd1end"),
        s("\u00e9t\u00e9 \U0001F600 \t tab"),
    };
    for (const QString& text : cases) {
        QPlainTextEdit memo;
        memo.setPlainText(text);
        EXPECT_EQ(MemoBody::asMemoHoldsIt(text), memo.toPlainText()) << text.toStdString();
    }
}

// The body's entries give the lines a memo filled with them would hold, entry by entry.
TEST(MemoLines, EntriesGiveTheLinesOfAMemoHoldingThem)
{
    const QStringList cases[] = {
        {},
        {s("")},
        {s(""), s("")},
        {s("one"), s("two\r\nthree")},
        {s("cr ends\r"), s("next")},
        {s("last ends\r")},
        {s("a\u2029b"), s("\rc"), s("")},
    };
    for (const QStringList& entries : cases) {
        QPlainTextEdit memo;
        memo.setPlainText(entries.join(QLatin1Char('\n')));
        const QString held = memo.toPlainText();
        EXPECT_EQ(MemoBody::memoLines(entries), held.isEmpty() ? QStringList() : held.split(QLatin1Char('\n')))
            << entries.join(s("|")).toStdString();
    }
}

} // namespace

// A long entry goes to the encoder whole, held from one mail to the next, and still comes out as
// the lines a memo filled with the entries holds, breaks at its end included; short entries with
// breaks of their own are split as the memo splits them. The channel a run without the window
// sends through follows the same rules.
TEST_F(MailFormTest, LongEntriesGoOutAsTheLinesOfTheMemo)
{
    const QString text = s("word ").repeated(1000);
    const QStringList cases[] = {
        {s("head"), text + s("\r\nend")},
        {text + s("\n")},
        {text + s("\r\n\r\n"), s("after")},
        {text + s("\u2028\r"), s("")},
        {s("\n") + text + s("\n\n")},
        {s("a\rb"), s("c\u2029d\r\ne"), s("no\u00a0break\u2028here"), s("end\r"), s("")},
    };
    auto bodyOf = [](MailChannel& channel, const QStringList& entries) {
        channel.takeSettings(s("127.0.0.1:1"), s("ann@demo.example"), s("Ann"));
        channel.setRecipient(s("submit@site.example"));
        channel.setSubject(s("Submit"));
        channel.clearBody();
        for (const QString& entry : entries)
            channel.addBodyLine(entry);
        QByteArray message;
        EXPECT_TRUE(channel.encodeTo([&](const QByteArray& piece) { message += piece; }).ok());
        return message.mid(message.indexOf("\r\n\r\n"));
    };
    TmsSMTP client;
    TmsMessage message;
    SmtpClientChannel direct(client, message);
    TmsSMTP batchClient;
    TmsMessage batchMessage;
    SmtpClientChannel batch(batchClient, batchMessage, SmtpClientChannel::Body::AsMemoHoldsIt);
    for (const QStringList& entries : cases) {
        const QByteArray expected = bodyOf(direct, MemoBody::memoLines(entries));
        // The second time the entry is the held one.
        for (MailChannel* channel : {static_cast<MailChannel*>(&mail), static_cast<MailChannel*>(&batch)}) {
            EXPECT_EQ(bodyOf(*channel, entries), expected) << entries.join(s("|")).left(20).toStdString();
            EXPECT_EQ(bodyOf(*channel, entries), expected) << entries.join(s("|")).left(20).toStdString();
        }
    }
}

// While sending only Cancel is enabled (in a form shown during the send too), the form refuses to
// close, and every step shows in the status panel and the main window's mail label; afterwards the
// form is as it was.
TEST_F(MailFormTest, SendingStateStatusTextsAndCloseRefusal)
{
    startPeer();
    TSMTPForm& f = *form.SMTPForm();
    QStringList mirrored;
    QStringList duringSend;
    QObject::connect(f.msSMTP1, &TmsSMTP::OnSending, [&] {
        f.show();
        duringSend << (f.SendButton->isEnabled() ? s("send") : s("-"))
                   << (f.CancelButton->isEnabled() ? s("cancel") : s("-"))
                   << (f.Send1->isEnabled() ? s("send1") : s("-")) << (f.Cancel1->isEnabled() ? s("cancel1") : s("-"))
                   << (f.ProgressBar1->isVisibleTo(&f) ? s("progress") : s("-")) << form.mail2()->text();
        f.close();
        duringSend << (f.isVisible() ? s("still open") : s("closed"));
    });
    QObject::connect(f.msSMTP1, &TmsSMTP::OnMailSent, [&] { mirrored << form.mail2()->text(); });
    EXPECT_EQ(send(), QString());
    EXPECT_EQ(duringSend,
        (QStringList{s("-"), s("cancel"), s("-"), s("cancel1"), s("progress"), s("Sending Message"), s("still open")}));
    EXPECT_EQ(fake.errors, QStringList{s("Transfer in Progress.  Click Cancel button first.")});
    EXPECT_EQ(mirrored, QStringList{s("Mail Sent")});
    EXPECT_EQ(statusPanel(), s("Connection closed"));
    EXPECT_EQ(form.mail2()->text(), QString());
    EXPECT_TRUE(f.SendButton->isEnabled());
    EXPECT_FALSE(f.CancelButton->isEnabled());
    EXPECT_FALSE(f.ProgressBar1->isVisibleTo(&f));
    EXPECT_EQ(fake.beeps, 1);
    f.hide();
}

// Skip on the main window cancels a mail waiting for its server; a server that never answers
// ends the send after the time-out. Both show as "SMTP Error" on the main window.
TEST_F(MailFormTest, SkipCancelsAndSilenceTimesOut)
{
    startPeer({s("--silent")});
    QTimer::singleShot(300, &form, [this] { form.skipClick(); });
    EXPECT_EQ(send(), s("Operation has been canceled"));
    EXPECT_EQ(statusPanel(), s("Operation has been canceled"));
    EXPECT_EQ(form.mail2()->text(), s("SMTP Error"));
    EXPECT_TRUE(form.SMTPForm()->SendInfoPanel->isEnabled());

    form.SMTPForm()->msSMTP1->setTimeOut(1);
    EXPECT_EQ(send(), s("Operation timed out"));
    EXPECT_EQ(statusPanel(), s("Operation timed out"));
    EXPECT_EQ(form.mail2()->text(), s("SMTP Error"));
}

TEST_F(MailFormTest, EmptyRecipientFailsValidationAndSetupPersists)
{
    startPeer();
    mail.setRecipient(QString());
    EXPECT_EQ(send(), s("At least one Recipient, CC or BCC must be entered"));

    TSMTPForm& f = *form.SMTPForm();
    const QString ini = TSMTPForm::iniPath();
    const bool existed = QFile::exists(ini);
    f.msSMTP1->Server = s("mail.example:2525");
    f.msMessage1.Sender = {s("Ann"), s("ann@demo.example")};
    f.msMessage1.CharSet = 1;
    f.writeSettings();
    f.msSMTP1->Server.clear();
    f.msMessage1.CharSet = 0;
    f.readSettings();
    EXPECT_EQ(f.msSMTP1->Server, s("mail.example:2525"));
    EXPECT_EQ(f.msMessage1.Sender.Address, s("ann@demo.example"));
    EXPECT_EQ(f.msMessage1.CharSet, 1);
    EXPECT_TRUE(QFile(ini).open(QIODevice::ReadOnly));
    QFile file(ini);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().startsWith("[Setup]\r\nServer=mail.example:2525\r\nEMail Address=ann@demo.example\r\n"));
    if (!existed)
        QFile::remove(ini);
}
