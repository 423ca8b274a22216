// The Site Endpoints dialog: checking each value as typed, saving into cat/catalogue.dat without
// losing what else the file holds, and the Sites page showing which sites are not set up.
#include "FormOnBase.h"

#include "app/SiteEndpointsDialog.h"
#include "submit/RecipeBook.h"
#include "submit/SiteCatalogue.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

namespace {

using D = SiteEndpointsDialog;

class SiteEndpointsDialogTest : public FormOnBase
{
protected:
    void type(D& dialog, const char* section, int column, const char* text)
    {
        dialog.table()->item(dialog.rowOf(q(section)), column)->setText(q(text));
    }
};

TEST_F(SiteEndpointsDialogTest, EachValueIsCheckedAsTyped)
{
    const struct
    {
        int column;
        const char* text;
        const char* error; // a part of the message; empty: accepted
    } cases[] = {
        {D::Host, "", ""},
        {D::Host, "submit.site.test", ""},
        {D::Host, "submit.site.test:8080", ""},
        {D::Host, "https://submit.site.test", ""},
        {D::Host, "https://127.0.0.1:8443/", ""},
        {D::Host, "ftp://submit.site.test", "starts with http:// or https://"},
        {D::Host, "submit.site.test/cgi-bin", "without a path"},
        {D::Host, "submit.site.test:99999", "from 1 to 65535"},
        {D::Host, "bad host.test", "is not a host name"},
        {D::FtpHost, "ftps://ftp.site.test:990", ""},
        {D::FtpHost, "https://ftp.site.test", "starts with ftps://"},
        {D::Mailbox, "submit@site.test", ""},
        {D::Mailbox2, "two addresses@site.test", "one address"},
        {D::Mailbox, "submit@localhost", "is not a mail domain"},
        {D::Page, "https://site.test/thanks.html", ""},
        {D::Page, "site.test/thanks.html", "http:// or https://"},
        {D::CaFile, "/no/such/ca.pem", "There is no file"},
    };
    for (const auto& c : cases) {
        const QString error = D::cellError(c.column, q(c.text));
        EXPECT_TRUE(*c.error ? error.contains(q(c.error)) : error.isEmpty()) << c.text << ": " << error.toStdString();
    }

    // At every key press, before the cell takes the text.
    D dialog(base.path(), 5);
    dialog.show();
    dialog.table()->editItem(dialog.table()->item(dialog.rowOf(q("galt")), D::Host));
    auto* editor = dialog.table()->findChild<QLineEdit*>();
    ASSERT_TRUE(editor);
    QTest::keyClicks(editor, q("bad host"));
    EXPECT_FALSE(dialog.okButton()->isEnabled());
    EXPECT_TRUE(dialog.message()->text().contains(q("is not a host name"))) << dialog.message()->text().toStdString();
    editor->selectAll();
    QTest::keyClicks(editor, q("galt.test:8080"));
    EXPECT_TRUE(dialog.okButton()->isEnabled());
}

TEST_F(SiteEndpointsDialogTest, SavingKeepsTheFilesOtherLinesAndABadValueIsRefused)
{
    const QByteArray before = "; where the sites are\r\n"
                              "[ALL]\r\n"
                              "CAFILE=\r\n"
                              "[tucows]\r\n"
                              "; the mirror\r\n"
                              "FTPHOST=ftp.old.test\r\n"
                              "COLOUR=green\r\n"
                              "[OWN]\r\n"
                              "KEY=kept\r\n";
    base.write(q("cat/catalogue.dat"), before);
    {
        D dialog(base.path(), 5);
        EXPECT_EQ(dialog.table()->item(dialog.rowOf(q("tucows")), D::FtpHost)->text(), q("ftp.old.test"));
        EXPECT_TRUE(dialog.okButton()->isEnabled());
        // Saved untouched, the file keeps every byte.
        ASSERT_TRUE(dialog.save());
        EXPECT_EQ(base.read(q("cat/catalogue.dat")), before);

        type(dialog, "essen", D::Host, "http://bad host");
        EXPECT_FALSE(dialog.okButton()->isEnabled());
        EXPECT_TRUE(dialog.message()->text().contains(q("is not a host name")))
            << dialog.message()->text().toStdString();
        EXPECT_FALSE(dialog.save());
        EXPECT_EQ(base.read(q("cat/catalogue.dat")), before);

        type(dialog, "essen", D::Host, "https://essen.site.test");
        EXPECT_TRUE(dialog.okButton()->isEnabled());
        type(dialog, "tucows", D::FtpHost, "ftps://ftp.new.test:990");
        type(dialog, "pow95", D::Mailbox, "listings@pow95.test");
        type(dialog, "ALL", D::Host, "127.0.0.1:8080");
        EXPECT_EQ(dialog.table()->item(dialog.rowOf(q("pow95")), D::SetUp)->text(), q("yes"));
        EXPECT_EQ(dialog.table()->item(dialog.rowOf(q("simtel")), D::SetUp)->text(), q("no: FTPHOST, MAILBOX"));
        ASSERT_TRUE(dialog.save());
    }
    EXPECT_EQ(base.read(q("cat/catalogue.dat")).toStdString(),
        std::string("; where the sites are\r\n"
                    "[ALL]\r\n"
                    "CAFILE=\r\n"
                    "HOST=127.0.0.1:8080\r\n"
                    "[tucows]\r\n"
                    "; the mirror\r\n"
                    "FTPHOST=ftps://ftp.new.test:990\r\n"
                    "COLOUR=green\r\n"
                    "[OWN]\r\n"
                    "KEY=kept\r\n"
                    "[pow95]\r\n"
                    "MAILBOX=listings@pow95.test\r\n"
                    "[essen]\r\n"
                    "HOST=https://essen.site.test\r\n"));
    const SiteCatalogue catalogue = SiteCatalogue::forBase(base.path());
    EXPECT_EQ(catalogue.endpoints(q("essen")).host, q("https://essen.site.test"));
    EXPECT_EQ(catalogue.endpoints(q("galt")).host, q("127.0.0.1:8080"));
    EXPECT_EQ(catalogue.endpoints(q("tucows")).ftpHost, q("ftps://ftp.new.test:990"));
    EXPECT_TRUE(catalogue.missingSettings(q("pow95"), UsesMailbox).isEmpty());
}

TEST_F(SiteEndpointsDialogTest, SitesNotSetUpAreMutedWithWhatIsMissing)
{
    QCheckBox* tucows = form.findChild<QCheckBox*>(q("tucowscb"));
    // A site that needs its web host alone.
    QString webOnly;
    for (const QString& key : SiteCatalogue::siteKeys()) {
        if (webOnly.isEmpty() && RecipeBook::endpointUses(key) == UsesWebHost)
            webOnly = key;
    }
    QCheckBox* web = form.findChild<QCheckBox*>(SiteCatalogue::updateBoxOf(webOnly));
    ASSERT_TRUE(web);
    form.sitespage()->showSetUp(SiteCatalogue::forBase(base.path()));
    EXPECT_TRUE(tucows->property("notSetUp").toBool());
    EXPECT_TRUE(tucows->toolTip().contains(q("FTPHOST in [tucows] or [ALL] of cat/catalogue.dat")))
        << tucows->toolTip().toStdString();

    base.write(q("cat/catalogue.dat"), "[ALL]\r\nHOST=127.0.0.1:8080\r\n");
    form.sitespage()->showSetUp(SiteCatalogue::forBase(base.path()));
    EXPECT_FALSE(web->property("notSetUp").toBool());
    EXPECT_TRUE(web->toolTip().isEmpty()) << web->toolTip().toStdString();
    EXPECT_TRUE(tucows->property("notSetUp").toBool());
    EXPECT_NE(tucows->palette().color(QPalette::WindowText), web->palette().color(QPalette::WindowText));
}

} // namespace
