#include "FakeRunWindow.h"
#include "submit/MailSteps.h"
#include "submit/SubmissionRun.h"
#include "support/FakeDialogs.h"
#include "support/GivenMailboxes.h"
#include "support/PeerProcess.h"
#include "support/TempBase.h"

#include <QDir>
#include <QFile>

#include <QTimeZone>

#include <gtest/gtest.h>

namespace {

QString s(const char* text)
{
    return QString::fromUtf8(text);
}

QByteArray dataFile(const char* name)
{
    QFile file(QStringLiteral(QUILLET_TEST_DATA_DIR "/mail/") + s(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("missing ") + name;
}

// One e-mail site in one variant: what the server must receive and the run must log.
struct MailCase
{
    const char* box; // the one tick box set
    const char* recipient;
    const char* subject;
    QStringList opening; // the lines before the listing
    const char* log;
};

const QString U1 = s("Please update the following listing:");
const QString U2 = s("Please review our update:");
const QString U3 = s("Please add our update:");
const char* const SN = "Submit Demo App";

// A plain site: first line, empty line, listing; new and update to the first mailbox.
QList<MailCase> plain(const char* key, const char* name, const char* newSubject, const char* updateSubject,
    const QString& first, const QString& update)
{
    static QList<QByteArray> keep;
    keep << QByteArray(key) + "new" << QByteArray(key) + "up"
         << "submit@" + QByteArray(key) + ".example" << QByteArray(name) + ": E-Mailed";
    const qsizetype n = keep.size();
    return {{keep[n - 4].constData(), keep[n - 2].constData(), newSubject, {first, QString()}, keep[n - 1].constData()},
        {keep[n - 3].constData(), keep[n - 2].constData(), updateSubject, {update, QString()},
            keep[n - 1].constData()}};
}

QList<MailCase> allCases()
{
    QList<MailCase> c;
    c << plain("pow95", "Pell Orvane's Win95 Page", "Submit", "Submit",
        s("Please add the following listing to Pell Orvane's Win95 Page"), U1);
    c[1].box = "powin95up";
    c << plain(
        "dlnet", "dlnet.example", "Submit", "Submit", s("Please add the following listing to dlnet.example"), U1);
    c << plain("capfish", "Captain Fishy's Internet Software Pages", "Submit", "Submit",
        s("Please add the following listing to Captain Fishy's Internet Software Pages"), U1);
    c << plain("digisafari", "DigiSafari", "Submit", "Submit", s("Please add the following listing to DigiSafari"), U1);
    c << plain("fwfav", "Freeware Favorites", "Submit", "Submit",
        s("Please add the following listing to Freeware Favorites"), U1);
    c << plain(
        "f32com", "f32com.example", "Submit", "Submit", s("Please add the following listing to f32com.example"), U1);
    c << plain("galt", "Galt Shareware Zone", "Submit", "Submit", s("Please review for Galt Shareware Zone"), U1);
    c << plain("gws", "Great Windows Software", "Submit", "Submit",
        s("Please add the following software to Great Windows Software"), U1);
    c << plain("jayde", "Jayde Hot Shareware", "Submit", "Submit",
        s("Please review and add the following software to Jayde Hot Shareware"), U1);
    c << plain("pts", "Pass The Shareware", SN, SN,
        s("Please review and add the following software to Pass The Shareware"), U1);
    c[c.size() - 2].opening.insert(1, s("Category: Utilities"));
    c[c.size() - 1].opening.insert(1, s("Category: Utilities"));
    c << plain(
        "rocket", "rocket.example", SN, SN, s("Please review and add the following software to rocket.example"), U1);
    c.last().recipient = "listings@rocket.example";
    c << plain("sharepaper", "Sharepaper", SN, SN, s("Please add the following software to Sharepaper"), U1);
    c << plain("swr", "Shareware Resources", SN, SN, s("Please add the following software to Shareware Resources"), U1);
    c << plain(
        "swshop", "The Shareware Shop", SN, SN, s("Please add the following software to The Shareware Shop"), U1);
    c << plain("c2c", "Coast to Coast", SN, SN, s("I would like to upload the following program to Coast to coast:"),
        s("I would like to update the following listing:"));
    for (int i : {2, 1}) {
        c[c.size() - i].opening.removeLast();
        c[c.size() - i].log = "Coast to Coast request to Upload: E-Mailed - you will get a response with instructions.";
    }
    c << plain("gratis", "Gr@tis", SN, SN, s("Por favor revise e adicione o seguinte programa:"),
        s("Por favor atualize o seguinte programa:"));
    for (int i : {2, 1})
        c[c.size() - i].opening << QString() << s("P.S. Corvel Says: HI Brannoc!!!!!");
    c << plain(
        "swsp", "Shareware Stockpile", SN, SN, s("Please add the following software to Shareware Stockpile"), U1);
    c << plain("ss", "SoftSeek", SN, SN, s("Please add the following software to SoftSeek"), U1);
    c << plain("swro", "Software Web Review Online", SN, SN,
        s("Please review the following software for Software Web Review Online"), U2);
    c << plain(
        "fenworld", "fenworld.example", SN, SN, s("Please review the following software for fenworld.example"), U2);
    c << plain("wpipe", "Web Pipe", SN, SN, s("Please add the following software to Web Pipe"), U3);
    c << plain("wugnet", "WUGNET", SN, SN, s("Please review the following software for WUGNET"), U2);
    for (int i : {2, 1}) {
        c[c.size() - i].opening << s("Company address: 1 Main St") << s("                 Springfield, IL 62701")
                                << s("                 USA") << s("Phone Number:    555-0100") << QString();
    }
    c << plain("tudogs", "Tudogs", SN, SN, s("Please add the following software to Tudogs"), U3);
    c << plain("pcwin", "PC Win Resource Center", SN, "Software Submission",
        s("Please review the following software for PC Win Resource Center"), U2);
    c << plain("win95emp", "Windows 95 Emporium", SN, "Software Submission",
        s("Please review the following software for Windows 95 Emporium"), U2);
    c << plain("swarecent", "Software Center", SN, "Software Submission",
        s("Please review the following software for Software Center"), U2);
    c << plain("winsw", "winsw.example", SN, "Software Submission",
        s("Please review the following software for winsw.example"), U2);
    for (int i : {2, 1}) {
        QStringList& o = c[c.size() - i].opening;
        o = QStringList{o[0], QString(), s("Category:Desktop"), QString(), QString()};
    }
    c << plain(
        "wattack", "Web Attack", "New Submission", "Update", s("Please Add the following software to Web Attack"), U3);
    for (int i : {2, 1}) {
        QStringList& o = c[c.size() - i].opening;
        o = QStringList{o[0], QString(), s("Category:Web Tools"), QString(), QString()};
    }
    return c;
}

class MailSites : public ::testing::Test
{
protected:
    MailSites()
    {
        w.base = base.path();
        base.write(s("cat/catalogue.dat"), givenMailboxes());
        w.fillValidRecord();
        const std::pair<const char*, const char*> record[] = {{"version", "2.1"}, {"ldatel", "7-Mar-1999"},
            {"platforms", "Windows 95"}, {"price", "19.95"}, {"status", "Shareware"}, {"eval", "30 days"},
            {"appurl", "http://demo.example/"}, {"dl1", "http://demo.example/demo.zip"},
            {"screenshot", "http://demo.example/shot.gif"}, {"compname", "Demo Soft"}, {"conname", "Ann Author"},
            {"conmail", "ann@demo.example"}, {"conphone", "555-0100"}, {"confax", "555-0101"}, {"shortdesc", "A demo."},
            {"longdesc", "Line one\r\nLine two\r\nLine three"}, {"Memo2", "Be kind."}, {"conaddr", "1 Main St"},
            {"concity", "Springfield"}, {"constate", "IL"}, {"conzip", "62701"}, {"concountry", "USA"},
            {"ptspd", "Utilities"}, {"snetpd", "Tools"}, {"winswpd", "Desktop"}, {"wattackpd", "Web Tools"},
            {"emailedit", "ann@demo.example"}, {"nameedit", "Ann Author"}};
        for (const auto& [control, value] : record)
            w.texts[s(control)] = s(value);
        fixDateAndId(w);
    }

    // A fixed date and id, so every message can be compared byte for byte.
    static void fixDateAndId(FakeRunWindow& window)
    {
        window.mailMessage.Date = QDateTime(QDate(2026, 12, 7), QTime(11, 58, 2), QTimeZone(3600));
        window.mailMessage.MessageId = s("<20261207115802.1@demo.example>");
    }

    void startPeer(const QStringList& extra = {})
    {
        m_round++;
        const QStringList args{s("--record"), folder(), s("--lifetime"), s("120")};
        peer = std::make_unique<PeerProcess>(s("smtp_peer.py"), args + extra);
        ASSERT_TRUE(peer->started()) << peer->errors().toStdString();
        w.texts[s("smtpedit")] = s("127.0.0.1:%1").arg(peer->port());
    }

    QString folder() const { return base.file(s("mail%1").arg(m_round)); }

    QByteArrayList received() const
    {
        QDir dir(folder());
        QByteArrayList found;
        for (const QString& name : dir.entryList({s("*.req")}, QDir::Files, QDir::Name)) {
            QFile file(dir.filePath(name));
            if (file.open(QIODevice::ReadOnly))
                found << file.readAll();
        }
        return found;
    }

    // The message as received: envelope, header block, opening lines, the listing.
    static QByteArray expected(const QString& recipient, const QString& subject, const QStringList& opening,
        const QByteArray& listing = dataFile("listing_full.txt"))
    {
        QByteArray m = "X-Envelope-From: ann@demo.example\r\nX-Envelope-To: " + recipient.toUtf8()
            + "\r\nFrom:     Ann Author <ann@demo.example>\r\nTo:        <" + recipient.toUtf8()
            + ">\r\nSubject:  " + subject.toUtf8()
            + "\r\nMime-Version: 1.0\r\nDate: Mon, 07 Dec 2026 11:58:02 +0100\r\n"
              "Message-ID: <20261207115802.1@demo.example>\r\nContent-Type: text/plain; charset=\"us-ascii\"\r\n"
              "Content-Transfer-Encoding: 7bit\r\n\r\n";
        for (const QString& line : opening)
            m += line.toUtf8() + "\r\n";
        return m + listing + "\r\n";
    }

    SubmissionRun::Outcome run(std::initializer_list<const char*> boxes)
    {
        for (auto it = w.checks.begin(); it != w.checks.end(); ++it)
            it.value() = false;
        for (const char* box : boxes)
            w.checks[s(box)] = true;
        w.log.clear();
        return w.submission.start(w, w.channels);
    }

    TempBase base;
    FakeRunWindow w;
    FakeDialogs dialogs;
    std::unique_ptr<PeerProcess> peer;
    int m_round = 0;
};

} // namespace

// Every e-mail site of the second group, new listing and update, each in a run of its own.
TEST_F(MailSites, EverySiteInBothVariants)
{
    startPeer();
    int sent = 0;
    ASSERT_EQ(allCases().size(), 56); // snet has a test of its own
    for (const MailCase& c : allCases()) {
        ASSERT_EQ(run({c.box}), SubmissionRun::Outcome::Completed)
            << c.box << " " << dialogs.errors.join(s("|")).toStdString();
        EXPECT_EQ(w.log, QStringList{s(c.log)}) << c.box;
        const QByteArrayList got = received();
        ASSERT_EQ(got.size(), sent + 1) << c.box;
        EXPECT_EQ(got.last(), expected(s(c.recipient), s(c.subject), c.opening)) << c.box;
        ++sent;
        EXPECT_EQ(w.texts.value(s("mailstatus")), s("Idle")) << c.box;
    }
}

// snet sends its message to the system mailbox, then the listing alone to the press mailbox;
// wattack refuses the one category; both boxes ticked send the new listing only.
TEST_F(MailSites, TwoMailboxesRefusalAndBothBoxes)
{
    startPeer();
    const QStringList snetOpening{s("Please review the following software for snet.example"), QString(),
        s("Category:Tools"), QString(), QString()};
    ASSERT_EQ(run({"snetnew"}), SubmissionRun::Outcome::Completed);
    EXPECT_EQ(w.log, QStringList{s("snet.example: E-Mailed")});
    QByteArrayList got = received();
    ASSERT_EQ(got.size(), 2);
    EXPECT_EQ(got[0], expected(s("submit@snet.example"), s(SN), snetOpening));
    EXPECT_EQ(got[1], expected(s("listings@snet.example"), s(SN), {}));

    ASSERT_EQ(run({"snetup"}), SubmissionRun::Outcome::Completed);
    got = received();
    ASSERT_EQ(got.size(), 4);
    EXPECT_EQ(got[3], expected(s("listings@snet.example"), s("Software Submission"), {}));

    w.texts[s("wattackpd")] = s("Misc.Non Web related Tools");
    ASSERT_EQ(run({"wattacknew"}), SubmissionRun::Outcome::Completed);
    EXPECT_EQ(w.log, QStringList{s("Web Attack only allows web-releated apps.  Not Sent.")});
    EXPECT_EQ(received().size(), 4);
    EXPECT_EQ(w.texts.value(s("mailstatus")), s("Idle"));

    ASSERT_EQ(run({"galtnew", "galtup", "pow95new"}), SubmissionRun::Outcome::Completed);
    EXPECT_FALSE(w.checks.value(s("galtup")));
    got = received();
    ASSERT_EQ(got.size(), 6);
    // Each message carries only its own opening lines.
    EXPECT_EQ(got[4],
        expected(s("submit@pow95.example"), s("Submit"),
            {s("Please add the following listing to Pell Orvane's Win95 Page"), QString()}));
    EXPECT_EQ(got[5],
        expected(s("submit@galt.example"), s("Submit"), {s("Please review for Galt Shareware Zone"), QString()}));
}

// All listing fields empty: still 36 lines, each label alone.
TEST_F(MailSites, EmptyListingKeepsEveryLine)
{
    startPeer();
    FakeRunWindow empty;
    empty.texts = {{s("smtpedit"), w.texts[s("smtpedit")]}, {s("emailedit"), s("ann@demo.example")},
        {s("nameedit"), s("Ann Author")}};
    fixDateAndId(empty);
    MailSteps::takeSettings(empty, empty.mailChannel);
    empty.mailChannel.setSubject(s("Submit"));
    empty.mailChannel.setRecipient(s("x@y.example"));
    MailSteps::sendmail(empty, empty.mailChannel);
    ASSERT_EQ(received().size(), 1);
    EXPECT_EQ(received()[0], expected(s("x@y.example"), s("Submit"), {}, dataFile("listing_empty.txt")));
    EXPECT_EQ(empty.texts.value(s("mailstatus")), s("Mail Sent"));
    EXPECT_TRUE(empty.mailChannel.body().isEmpty());
}

// A failed send fails its own site with the client's error; the run goes on and completes, and
// no error box is shown.
TEST_F(MailSites, FailedSendFailsItsSiteAndTheRunGoesOn)
{
    startPeer({s("--reject"), s("submit@galt.example")});
    EXPECT_EQ(run({"pow95new", "galtnew", "gwsnew"}), SubmissionRun::Outcome::Completed);
    ASSERT_EQ(w.log.size(), 3);
    EXPECT_EQ(w.log[0], s("Pell Orvane's Win95 Page: E-Mailed"));
    EXPECT_EQ(w.log[1],
        s("Galt Shareware Zone: Error sending mail - 550 5.1.1 <submit@galt.example>: Recipient address rejected"));
    EXPECT_TRUE(dialogs.errors.isEmpty());
    EXPECT_EQ(w.texts.value(s("mailstatus")), s("Idle"));
    EXPECT_EQ(received().size(), 2);

    // Nothing listens: each mail site makes its own attempt and says why it failed.
    const quint16 port = peer->port();
    peer.reset();
    w.texts[s("smtpedit")] = s("127.0.0.1:%1").arg(port);
    EXPECT_EQ(run({"galtnew", "gwsnew"}), SubmissionRun::Outcome::Completed);
    ASSERT_EQ(w.log.size(), 2);
    for (const QString& line : w.log)
        EXPECT_TRUE(line.endsWith(s(": Error sending mail - [10061] Connection refused"))) << line.toStdString();
    EXPECT_TRUE(dialogs.errors.isEmpty());

    // No server: the setup dialog is asked for first, then the send fails.
    w.texts[s("smtpedit")].clear();
    EXPECT_EQ(run({"galtnew"}), SubmissionRun::Outcome::Completed);
    EXPECT_EQ(w.mailChannel.setupShown, 1);
    EXPECT_EQ(w.log, QStringList{s("Galt Shareware Zone: Error sending mail - Server property is required")});
}
