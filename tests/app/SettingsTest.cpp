#include "FormOnBase.h"
#include "net/THTTP.h"

#include <QComboBox>
#include <QDir>
#include <QLineEdit>

#include "ui/TFlatButton.h"

namespace {

class Settings : public FormOnBase
{
protected:
    QList<QLineEdit*> fields() const
    {
        return {form.smtpedit(), form.emailedit(), form.nameedit(), form.proxyedit(), form.portedit()};
    }
    QStringList texts() const
    {
        QStringList result;
        for (const QLineEdit* field : fields())
            result.append(field->text());
        return result;
    }
    void writeSettings(const QByteArray& content) { base.write(QStringLiteral("cat/settings.dat"), content); }
};

TEST_F(Settings, NoFileGivesEmptyFieldsAndPort80)
{
    form.show(); // showing the window reads the settings
    EXPECT_EQ(texts(), (QStringList{q(""), q(""), q(""), q(""), q("80")}));
    EXPECT_EQ(form.HTTP1()->ProxyServer(), q(""));
    EXPECT_EQ(form.HTTP1()->ProxyPort(), 80);
    EXPECT_TRUE(fake.shown.isEmpty());
    EXPECT_FALSE(QFile::exists(base.file(QStringLiteral("cat/settings.dat"))));
}

// Leaving any of the five fields writes all five keys, in their order, from a file that did not exist.
TEST_F(Settings, LeavingAnyFieldCreatesTheFileWithAllFiveKeys)
{
    form.getsettings();
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        QFile::remove(base.file(QStringLiteral("cat/settings.dat")));
        fields()[i]->setText(i == 4 ? q("3128") : q("value"));
        leave(fields()[i]);
        QByteArray expected = "[SETTINGS]\r\nSMTP=\r\nEMAIL=\r\nNAME=\r\nPROXY=\r\nPORT=80\r\n";
        const char* keys[] = {"SMTP=", "EMAIL=", "NAME=", "PROXY=", "PORT=80"};
        expected.replace(keys[i], i == 4 ? QByteArray("PORT=3128") : QByteArray(keys[i]) + "value");
        EXPECT_EQ(base.read(QStringLiteral("cat/settings.dat")), expected);
        fields()[i]->setText(i == 4 ? q("80") : q(""));
    }
    EXPECT_TRUE(fake.shown.isEmpty());
}

TEST_F(Settings, StoredValuesFillTheFieldsAndReachTheHttpClient)
{
    writeSettings("[SETTINGS]\r\nPORT=8080\r\nPROXY=proxy.example\r\nNAME=Dana Whitfield\r\n"
                  "EMAIL=dana@larkspur.example\r\nSMTP=mail.larkspur.example\r\n");
    form.getsettings();
    EXPECT_EQ(texts(),
        (QStringList{q("mail.larkspur.example"), q("dana@larkspur.example"), q("Dana Whitfield"), q("proxy.example"),
            q("8080")}));
    EXPECT_EQ(form.HTTP1()->ProxyServer(), q("proxy.example"));
    EXPECT_EQ(form.HTTP1()->ProxyPort(), 8080);
}

// The secure mail settings go into the file only once they hold something, and the password
// never does.
TEST_F(Settings, SecureMailSettingsRoundTripWithoutThePassword)
{
    form.getsettings();
    form.savesettings();
    EXPECT_EQ(base.read(QStringLiteral("cat/settings.dat")),
        "[SETTINGS]\r\nSMTP=\r\nEMAIL=\r\nNAME=\r\nPROXY=\r\nPORT=80\r\n");

    form.smtpsecurity()->setCurrentIndex(form.smtpsecurity()->findText(q("STARTTLS")));
    form.smtpuser()->setText(q("dana"));
    form.smtppassword()->setText(q("pw-never-in-file"));
    form.cafileedit()->setText(q("/etc/quillet/ca.pem"));
    form.savesettings();
    const QByteArray file = base.read(QStringLiteral("cat/settings.dat"));
    EXPECT_EQ(file,
        "[SETTINGS]\r\nSMTP=\r\nEMAIL=\r\nNAME=\r\nPROXY=\r\nPORT=80\r\nSECURITY=STARTTLS\r\nUSER=dana\r\n"
        "CAFILE=/etc/quillet/ca.pem\r\n");

    form.smtpsecurity()->setCurrentIndex(0);
    form.smtpuser()->clear();
    form.cafileedit()->clear();
    form.getsettings();
    EXPECT_EQ(form.smtpsecurity()->currentText(), q("STARTTLS"));
    EXPECT_EQ(form.smtpuser()->text(), q("dana"));
    EXPECT_EQ(form.HTTP1()->CAFile(), q("/etc/quillet/ca.pem"));
}

TEST_F(Settings, PortValuesThatAreWholeNumbers)
{
    const struct
    {
        const char* stored;
        int port;
    } cases[] = {{"8080", 8080}, {" 3128 ", 3128}, {"0x1F90", 8080}, {"$50", 80}, {"0", 0}, {"65535", 65535}};
    for (const auto& c : cases) {
        writeSettings(QByteArray("[SETTINGS]\r\nPORT=") + c.stored + "\r\n");
        form.getsettings();
        EXPECT_EQ(form.HTTP1()->ProxyPort(), c.port) << c.stored;
    }
}

// At show the message appears, the bad text stays visible in its field and the port keeps its value.
TEST_F(Settings, BadPortAtShowIsReportedAndLeavesThePortAsItWas)
{
    const char* cases[] = {"", "80a", "eighty", "80 80", "-1", "65536", "99999999999"};
    for (const char* stored : cases) {
        SCOPED_TRACE(stored);
        TForm1 window;
        window.setBasedir(base.path());
        window.HTTP1()->setProxyPort(3128);
        writeSettings(QByteArray("[SETTINGS]\r\nPROXY=proxy.example\r\nPORT=") + stored + "\r\n");
        fake.errors.clear();
        window.show();
        EXPECT_EQ(fake.errors, QStringList{q("'") + q(stored) + q("' is not a valid integer value")});
        EXPECT_EQ(window.portedit()->text(), q(stored));
        EXPECT_EQ(window.HTTP1()->ProxyPort(), 3128);
        EXPECT_EQ(window.proxyedit()->text(), q("proxy.example"));
    }
}

TEST_F(Settings, GetsettingsRaisesForABadPortSoCallersCanStop)
{
    writeSettings("[SETTINGS]\r\nPORT=\r\n");
    EXPECT_THROW(form.getsettings(), EConvertError);
}

TEST_F(Settings, MissingCatFolderIsCreatedSoTypedSettingsAreKept)
{
    QDir(base.file(QStringLiteral("cat"))).removeRecursively();
    form.smtpedit()->setText(q("mail.example"));
    leave(form.smtpedit());
    EXPECT_TRUE(fake.errors.isEmpty()) << fake.errors.join(q("\n")).toStdString();
    EXPECT_TRUE(base.read(QStringLiteral("cat/settings.dat")).contains("SMTP=mail.example\r\n"));
}

TEST_F(Settings, ClosingTheWindowSavesThem)
{
    form.show();
    form.nameedit()->setText(q("Dana"));
    EXPECT_TRUE(form.close());
    // The window's place follows the settings in a section of its own.
    const QByteArray saved = base.read(QStringLiteral("cat/settings.dat"));
    EXPECT_TRUE(saved.startsWith("[SETTINGS]\r\nSMTP=\r\nEMAIL=\r\nNAME=Dana\r\nPROXY=\r\nPORT=80\r\n[WINDOW]\r\n"))
        << saved.toStdString();
}

TEST_F(Settings, KeysEditedByHandKeepTheirPlaceAndOtherKeysStay)
{
    writeSettings("[SETTINGS]\r\nPORT=81\r\nEXTRA=keep\r\nSMTP=old\r\n");
    form.getsettings();
    form.smtpedit()->setText(q("new"));
    leave(form.smtpedit());
    EXPECT_EQ(base.read(QStringLiteral("cat/settings.dat")),
        "[SETTINGS]\r\nPORT=81\r\nEXTRA=keep\r\nSMTP=new\r\nEMAIL=\r\nNAME=\r\nPROXY=\r\n");
}

// The start of a run saves the settings and reads them back; a port that is no number ends the
// run there, before the program is saved or any check is made.
TEST_F(Settings, RunDoesNotBeginWithABadPort)
{
    const struct
    {
        const char* port;
        bool begins;
    } cases[] = {{"80x", false}, {"", false}, {"8080", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.port);
        TempBase runBase;
        FakeDialogs answers;
        TForm1 window;
        window.setBasedir(runBase.path());
        window.appname()->setEditText(q("NoteStack"));
        window.portedit()->setText(q(c.port));
        window.submit()->click();
        EXPECT_TRUE(runBase.read(q("cat/settings.dat")).contains(QByteArray("PORT=") + c.port + "\r\n"));
        EXPECT_EQ(QFile::exists(runBase.file(q("data/apps.dat"))), c.begins);
        if (c.begins) {
            EXPECT_EQ(window.HTTP1()->ProxyPort(), 8080);
            EXPECT_TRUE(answers.errors.isEmpty());
        } else {
            EXPECT_EQ(answers.errors, QStringList{q("'") + q(c.port) + q("' is not a valid integer value")});
            EXPECT_EQ(answers.shown, answers.errors); // no precondition message, no completion
        }
    }
}

} // namespace
