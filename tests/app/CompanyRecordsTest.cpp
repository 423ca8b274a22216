#include "FormOnBase.h"
#include "app/ComboItems.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

class CompanyRecords : public FormOnBase
{
protected:
    QByteArray companyFile(const char* coname, const char* contact)
    {
        return QByteArray("[COMPANY]\r\nCONAME=") + coname + "\r\nCONTACT=" + contact + "\r\nCTITLE=Author\r\n";
    }
    void pick(const QString& name)
    {
        form.compname()->setEditText(name);
        form.compnameChange();
    }
    QByteArray list() const { return base.read(QStringLiteral("data/companies.dat")); }
};

TEST_F(CompanyRecords, EnteringTheBoxReloadsItsItemsAndKeepsItsText)
{
    form.compname()->setEditText(q("typed"));
    enter(form.compname());
    EXPECT_TRUE(comboItems(form.compname()).isEmpty()); // no list file: items stay as they are

    base.write(QStringLiteral("data/companies.dat"), "Larkspur Software\r\nAcme\r\n");
    enter(form.compname());
    EXPECT_EQ(comboItems(form.compname()), (QStringList{q("Larkspur Software"), q("Acme")}));
    EXPECT_EQ(form.compname()->currentText(), q("typed"));
    EXPECT_TRUE(fake.shown.isEmpty());
}

// Typed key by key, a record loads when the text names an existing file; every other prefix
// leaves the fields alone.
TEST_F(CompanyRecords, TypingLoadsOnlyWhenAFileOfThatNameExists)
{
    base.write(QStringLiteral("data/Acme.dat"), companyFile("Acme", "Jo Acme"));
    base.write(QStringLiteral("data/Acme Widgets.dat"), companyFile("Acme Widgets", "Ann Widget"));
    form.conname()->setText(q("before"));
    form.contitle()->setText(q("Boss"));
    const struct
    {
        char key;
        const char* contact;
        const char* title;
    } steps[] = {
        {'A', "before", "Boss"},
        {'c', "before", "Boss"},
        {'m', "before", "Boss"},
        {'e', "Jo Acme", "Author"},
        {' ', "Jo Acme", "Author"},
        {'W', "Jo Acme", "Author"},
        {'i', "Jo Acme", "Author"},
        {'d', "Jo Acme", "Author"},
        {'g', "Jo Acme", "Author"},
        {'e', "Jo Acme", "Author"},
        {'t', "Jo Acme", "Author"},
        {'s', "Ann Widget", "Author"},
    };
    form.show();
    QString typed;
    for (const auto& step : steps) {
        QTest::keyClick(form.compname()->lineEdit(), step.key);
        typed += QLatin1Char(step.key);
        SCOPED_TRACE(typed.toStdString());
        EXPECT_EQ(form.compname()->currentText(), typed);
        EXPECT_EQ(form.conname()->text(), q(step.contact));
        EXPECT_EQ(form.contitle()->text(), q(step.title));
    }
    EXPECT_TRUE(fake.shown.isEmpty());
}

TEST_F(CompanyRecords, PickingLoadsAllThirteenFieldsAndTheStoredName)
{
    base.write(QStringLiteral("data/acme.dat"),
        "[COMPANY]\r\nCONAME=ACME Corp.\r\nCONTACT=Jo\r\nCTITLE=Owner\r\nCEMAIL=jo@acme.example\r\n"
        "CPHONE=555 0100\r\nCFAX=555 0101\r\nCADDR=1 Road\r\nCCITY=Town\r\nCSTATE=ST\r\nCZIP=12345\r\n"
        "CCOUNTRY=Land\r\nCURL=http://acme.example/\r\nCCMAIL=info@acme.example\r\n");
    // Fields the file leaves out are emptied like every other company field.
    form.pubmail()->setText(q("old"));
    base.write(QStringLiteral("data/companies.dat"), "acme\r\n");
    enter(form.compname());
    form.compname()->setCurrentIndex(0);
    emit form.compname()->textActivated(form.compname()->currentText());
    const QStringList expected{q("ACME Corp."), q("Jo"), q("Owner"), q("jo@acme.example"), q("555 0100"), q("555 0101"),
        q("1 Road"), q("Town"), q("ST"), q("12345"), q("Land"), q("http://acme.example/"), q("info@acme.example")};
    const QList<QWidget*> fields{form.compname(), form.conname(), form.contitle(), form.conmail(), form.conphone(),
        form.confax(), form.conaddr(), form.concity(), form.constate(), form.conzip(), form.concountry(),
        form.pubpage(), form.pubmail()};
    for (int i = 0; i < fields.size(); ++i) {
        const QString text = i == 0 ? form.compname()->currentText() : static_cast<QLineEdit*>(fields[i])->text();
        EXPECT_EQ(text, expected[i]) << i;
    }
}

TEST_F(CompanyRecords, NamesThatCannotBeRecordsLoadNothing)
{
    base.write(QStringLiteral("outside.dat"), companyFile("Outside", "Intruder"));
    QDir(base.path()).mkpath(QStringLiteral("data/sub.dat"));
    base.write(QStringLiteral("data/companies.dat"), "Acme\r\n");
    base.write(QStringLiteral("data/apps.dat"), "NoteStack\r\n");
    form.conname()->setText(q("kept"));
    for (const char* name : {"../outside", "sub", "", "nothing here", "companies", "apps"}) {
        pick(q(name));
        EXPECT_EQ(form.conname()->text(), q("kept")) << name;
    }
}

TEST_F(CompanyRecords, SaveWritesTheListAndTheRecord)
{
    base.write(QStringLiteral("data/companies.dat"), "Zeta Soft\r\nacme\r\n");
    // The stored list counts even though the drop-down list was never filled.
    const struct
    {
        const char* name;
        const char* list;
    } steps[] = {
        {"Larkspur Software", "Zeta Soft\r\nacme\r\nLarkspur Software\r\n"},
        {"Larkspur Software", "Zeta Soft\r\nacme\r\nLarkspur Software\r\n"}, // saved twice: listed once
        {"ACME", "Zeta Soft\r\nacme\r\nLarkspur Software\r\n"}, // a case variant is no new entry
        {"", "Zeta Soft\r\nacme\r\nLarkspur Software\r\n\r\n"}, // an empty name is a name too
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.name);
        form.compname()->setEditText(q(step.name));
        form.conname()->setText(q("Dana"));
        form.savecompany()->click();
        EXPECT_EQ(list(), QByteArray(step.list));
        EXPECT_EQ(base.read(QStringLiteral("data/") + q(step.name) + q(".dat")),
            QByteArray("[COMPANY]\r\nCONAME=") + step.name
                + "\r\nCONTACT=Dana\r\nCTITLE=\r\nCEMAIL=\r\nCPHONE=\r\nCFAX=\r\nCADDR=\r\nCCITY=\r\n"
                  "CSTATE=\r\nCZIP=\r\nCCOUNTRY=\r\nCURL=http://\r\nCCMAIL=\r\n");
        EXPECT_EQ(comboItems(form.compname()).join(q("|")),
            QString::fromUtf8(step.list).replace(q("\r\n"), q("|")).chopped(1));
    }
    EXPECT_TRUE(fake.shown.isEmpty());
}

TEST_F(CompanyRecords, SavingKeepsTheProgramSectionsOfASharedFile)
{
    base.write(QStringLiteral("data/Acme.dat"), "[COMPANY]\r\nCONAME=Acme\r\n[APPINFO]\r\nVERSION=2.0\r\n");
    form.compname()->setEditText(q("Acme"));
    form.savecompanyClick();
    const QByteArray record = base.read(QStringLiteral("data/Acme.dat"));
    EXPECT_TRUE(record.startsWith("[COMPANY]\r\nCONAME=Acme\r\nCONTACT=\r\n"));
    EXPECT_TRUE(record.endsWith("CCMAIL=\r\n[APPINFO]\r\nVERSION=2.0\r\n"));
}

TEST_F(CompanyRecords, MissingDataFolderIsCreatedBeforeTheListIsWritten)
{
    QDir(base.file(QStringLiteral("data"))).removeRecursively();
    form.compname()->setEditText(q("Acme"));
    form.savecompany()->click();
    EXPECT_TRUE(fake.shown.isEmpty());
    EXPECT_EQ(list(), QByteArray("Acme\r\n"));
    EXPECT_TRUE(QFile::exists(base.file(QStringLiteral("data/Acme.dat"))));
}

// Names outside the data folder, and the names of the two list files, whose lines a record would spoil.
TEST_F(CompanyRecords, NamesThatCannotBeRecordsWriteNothing)
{
    base.write(QStringLiteral("data/companies.dat"), "Acme\r\n");
    for (const char* name : {"../escape", "a/b", "..", ".", "companies", "apps"}) {
        SCOPED_TRACE(name);
        fake.errors.clear();
        form.compname()->setEditText(q(name));
        form.savecompany()->click();
        EXPECT_EQ(fake.errors, QStringList{q("Unable to write to ") + base.file(q("data/") + q(name) + q(".dat"))});
        EXPECT_EQ(list(), QByteArray("Acme\r\n"));
    }
    EXPECT_FALSE(QFile::exists(base.file(QStringLiteral("escape.dat"))));
    EXPECT_EQ(QDir(base.file(QStringLiteral("data"))).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
        QStringList{q("companies.dat")});
}

TEST_F(CompanyRecords, FailedRecordWriteKeepsTheListStep)
{
    base.write(QStringLiteral("data/Acme.dat"), "[COMPANY]\r\nCONAME=Acme\r\n");
    QFile::setPermissions(base.file(QStringLiteral("data/Acme.dat")), QFileDevice::ReadOwner);
    form.compname()->setEditText(q("Acme"));
    form.savecompany()->click();
    EXPECT_EQ(fake.errors, QStringList{q("Unable to write to ") + base.file(QStringLiteral("data/Acme.dat"))});
    EXPECT_EQ(list(), QByteArray("Acme\r\n"));
    EXPECT_EQ(base.read(QStringLiteral("data/Acme.dat")), QByteArray("[COMPANY]\r\nCONAME=Acme\r\n"));
}

TEST_F(CompanyRecords, UnwritableListIsACreateError)
{
    base.write(QStringLiteral("data/companies.dat"), "Zeta\r\n");
    QFile::setPermissions(base.file(QStringLiteral("data/companies.dat")), QFileDevice::ReadOwner);
    form.compname()->setEditText(q("Acme"));
    form.savecompany()->click();
    EXPECT_EQ(fake.errors, QStringList{q("Cannot create file ") + base.file(QStringLiteral("data/companies.dat"))});
    EXPECT_FALSE(QFile::exists(base.file(QStringLiteral("data/Acme.dat"))));
}

// A program keeps the contact data it was saved with, whatever the company record says later.
TEST_F(CompanyRecords, EarlierProgramRecordsKeepTheOldContactData)
{
    form.compname()->setEditText(q("Larkspur Software"));
    form.conname()->setText(q("Dana Whitfield"));
    form.conmail()->setText(q("dana@larkspur.example"));
    form.appname()->setEditText(q("NoteStack"));
    form.savesite();

    form.conname()->setText(q("Robin Hale"));
    form.conmail()->setText(q("robin@larkspur.example"));
    form.savecompanyClick();

    // Reloading the program discards its unsaved copy of the new contact data.
    fake.answers = {Dialogs::Answer::No};
    form.appname()->setEditText(q("NoteStack"));
    form.appnameChange();
    EXPECT_EQ(form.conname()->text(), q("Dana Whitfield"));
    EXPECT_EQ(form.conmail()->text(), q("dana@larkspur.example"));

    pick(q("Larkspur Software"));
    EXPECT_EQ(form.conname()->text(), q("Robin Hale"));
    EXPECT_EQ(form.conmail()->text(), q("robin@larkspur.example"));
    EXPECT_TRUE(fake.shown.isEmpty());
}

} // namespace
