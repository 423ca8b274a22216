// Program records through the window: loading, saving, the name lists and the save failures.
#include "FormOnBase.h"

#include "app/ControlText.h"
#include "batch/RecordLayout.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

#include <sys/stat.h>

namespace {

QString str(QLatin1StringView s)
{
    return QString(s);
}

// A distinct value for every stored control; the 8-character name is longer than typing allows,
// as a record may hold it.
QString sampleValue(const QString& control)
{
    if (control == QLatin1String("month"))
        return QStringLiteral("11");
    if (control == QLatin1String("day"))
        return QStringLiteral("30");
    if (control == QLatin1String("year"))
        return QStringLiteral("98");
    if (control == QLatin1String("char8name"))
        return QStringLiteral("char8name");
    return QStringLiteral("v ") + control + QStringLiteral(" & =x");
}

QStringList fileLines(const TempBase& base, const QString& relative)
{
    return QString::fromUtf8(base.read(relative)).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
}

class ReadOnly
{
public:
    explicit ReadOnly(QString path, mode_t mode)
        : m_path(std::move(path))
    {
        struct stat st = {};
        ::stat(QFile::encodeName(m_path).constData(), &st);
        m_mode = st.st_mode & 07777;
        ::chmod(QFile::encodeName(m_path).constData(), mode);
    }
    ~ReadOnly() { ::chmod(QFile::encodeName(m_path).constData(), m_mode); }

private:
    QString m_path;
    mode_t m_mode = 0755;
};

} // namespace

class ProgramRecordTest : public MainWindowTest
{
protected:
    // Fills every stored control and both memos, ticks every other site box.
    void fillEverything()
    {
        form.appname()->setEditText(QStringLiteral("Round Trip"));
        for (const RecordKey& key : RecordLayout::companyKeys())
            setControlText(form.control(str(key.control)), sampleValue(str(key.control)));
        for (const RecordKey& key : RecordLayout::appInfoKeys()) {
            if (key.key != RecordLayout::NameKey)
                setControlText(form.control(str(key.control)), sampleValue(str(key.control)));
        }
        for (const RecordKey& key : RecordLayout::categoryKeys())
            setControlText(form.control(str(key.control)), sampleValue(str(key.control)));
        int i = 0;
        for (QLatin1StringView tick : RecordLayout::tickBoxes())
            static_cast<QCheckBox*>(form.control(str(tick)))->setChecked(i++ % 2 == 0);
        form.longdesc()->setPlainText(QStringLiteral("First line\nSecond line\n\nFourth & last"));
        form.Memo2()->setPlainText(QStringLiteral("Reg code 1234\nChanged the menus"));
    }

    void load(TForm1& window, const QString& name)
    {
        window.appname()->setEditText(name);
        window.appnameChange();
    }
};

TEST_F(ProgramRecordTest, SaveWritesEveryKeyInOrderAndLoadBringsEveryValueBack)
{
    fillEverything();
    form.SaveAppData1()->trigger();
    ASSERT_TRUE(fake.errors.isEmpty()) << fake.errors.join(QLatin1Char('\n')).toStdString();

    // The file holds all 176 keys and NAME, in their sections and order.
    QStringList expected{QStringLiteral("[COMPANY]")};
    for (const RecordKey& key : RecordLayout::companyKeys())
        expected.append(str(key.key) + QLatin1Char('=') + sampleValue(str(key.control)));
    expected.append(QStringLiteral("[APPINFO]"));
    for (const RecordKey& key : RecordLayout::appInfoKeys()) {
        expected.append(str(key.key) + QLatin1Char('=')
            + (key.key == RecordLayout::NameKey ? QStringLiteral("Round Trip") : sampleValue(str(key.control))));
    }
    expected.append(QStringLiteral("[SITES]"));
    for (const RecordKey& key : RecordLayout::categoryKeys())
        expected.append(str(key.key) + QLatin1Char('=') + sampleValue(str(key.control)));
    int i = 0;
    for (QLatin1StringView tick : RecordLayout::tickBoxes())
        expected.append(str(tick) + (i++ % 2 == 0 ? QStringLiteral("=1") : QStringLiteral("=0")));
    EXPECT_EQ(fileLines(base, QStringLiteral("data/Round Trip.dat")), expected);
    EXPECT_EQ(expected.size(), 3 + 13 + 27 + 22 + 114);
    EXPECT_EQ(base.read(QStringLiteral("data/Round Trip.lds")), "First line\r\nSecond line\r\n\r\nFourth & last\r\n");
    EXPECT_EQ(base.read(QStringLiteral("data/Round Trip.nts")), "Reg code 1234\r\nChanged the menus\r\n");

    // A second window loads it all back.
    TForm1 other;
    other.setBasedir(base.path());
    load(other, QStringLiteral("Round Trip"));
    for (QWidget* w : form.controls()) {
        if (qobject_cast<QLineEdit*>(w) || qobject_cast<QComboBox*>(w) || qobject_cast<QPlainTextEdit*>(w)) {
            EXPECT_EQ(controlText(other.control(w->objectName())), controlText(w)) << w->objectName().toStdString();
        }
        if (auto* box = qobject_cast<QCheckBox*>(w)) {
            EXPECT_EQ(static_cast<QCheckBox*>(other.control(w->objectName()))->isChecked(), box->isChecked())
                << w->objectName().toStdString();
        }
    }
    EXPECT_EQ(other.longdate(), QStringLiteral("30-Nov-1998"));
}

// The record file of a full listing, byte for byte as the program has always written it: every
// control of the window filled by its name, the tick boxes with names of even length set.
TEST_F(ProgramRecordTest, FullListingIsWrittenByteForByteAsBefore)
{
    for (QWidget* w : form.controls()) {
        if (qobject_cast<QLineEdit*>(w) || qobject_cast<QComboBox*>(w))
            setControlText(w, sampleValue(w->objectName()));
        if (auto* box = qobject_cast<QCheckBox*>(w))
            box->setChecked(w->objectName().size() % 2 == 0);
    }
    form.appname()->setEditText(QStringLiteral("Full Listing"));
    form.compname()->setEditText(QStringLiteral("Full Company"));
    form.longdesc()->setPlainText(QStringLiteral("First line\nSecond line"));
    form.savesite();
    ASSERT_TRUE(fake.errors.isEmpty()) << fake.errors.join(QLatin1Char('\n')).toStdString();

    QFile expected(QStringLiteral(QUILLET_TEST_DATA_DIR "/records/Full Listing.dat"));
    ASSERT_TRUE(expected.open(QIODevice::ReadOnly));
    EXPECT_EQ(base.read(QStringLiteral("data/Full Listing.dat")), expected.readAll());
}

TEST_F(ProgramRecordTest, NameWithoutRecordClearsToDefaultsButKeepsMemosAndSpecialRequirements)
{
    fillEverything();
    form.specreq()->setText(QStringLiteral("A sound card"));
    form.savesite();
    load(form, QStringLiteral("Round Trip"));

    load(form, QStringLiteral("No Such Program"));
    for (const auto& keys : {RecordLayout::companyKeys(), RecordLayout::appInfoKeys(), RecordLayout::categoryKeys()}) {
        for (const RecordKey& key : keys) {
            if (key.key != RecordLayout::NameKey) {
                EXPECT_EQ(controlText(form.control(str(key.control))), str(key.defaultValue)) << key.key.data();
            }
        }
    }
    EXPECT_EQ(form.appurl()->text(), QStringLiteral("http://"));
    EXPECT_EQ(form.dl4()->text(), QStringLiteral("ftp://... or http://..."));
    EXPECT_EQ(form.findChild<QLineEdit*>(QStringLiteral("shareware95pd"))->text(), QStringLiteral("http://"));
    EXPECT_EQ(form.pubpage()->text(), QString());
    for (QLatin1StringView tick : RecordLayout::tickBoxes())
        EXPECT_FALSE(static_cast<QCheckBox*>(form.control(str(tick)))->isChecked()) << tick.data();
    EXPECT_EQ(form.longdesc()->toPlainText(), QStringLiteral("First line\nSecond line\n\nFourth & last"));
    EXPECT_EQ(form.Memo2()->toPlainText(), QStringLiteral("Reg code 1234\nChanged the menus"));
    EXPECT_EQ(form.specreq()->text(), QStringLiteral("A sound card"));
    EXPECT_EQ(form.longdate(), QString());
    EXPECT_TRUE(fake.shown.isEmpty());
}

TEST_F(ProgramRecordTest, MissingTextFilesStopTheLoadingOfTheTexts)
{
    struct Case
    {
        bool lds;
        bool nts;
        const char* longdesc;
        const char* notes;
    };
    const Case cases[] = {
        {true, true, "new long", "new notes"}, {true, false, "new long", "old notes"},
        {false, true, "old long", "old notes"}, // no .lds: the .nts is not read either
    };
    for (const Case& c : cases) {
        TempBase folder;
        folder.write(QStringLiteral("data/P.dat"), "[APPINFO]\r\nVERSION=2\r\n");
        if (c.lds)
            folder.write(QStringLiteral("data/P.lds"), "new long\r\n");
        if (c.nts)
            folder.write(QStringLiteral("data/P.nts"), "new notes\r\n");
        form.setBasedir(folder.path());
        form.longdesc()->setPlainText(QStringLiteral("old long"));
        form.Memo2()->setPlainText(QStringLiteral("old notes"));
        form.markSaved(); // the texts of a record shown before
        load(form, QStringLiteral("P"));
        EXPECT_EQ(form.version()->text(), QStringLiteral("2"));
        EXPECT_EQ(form.longdesc()->toPlainText(), QString::fromLatin1(c.longdesc));
        EXPECT_EQ(form.Memo2()->toPlainText(), QString::fromLatin1(c.notes));
    }
}

TEST_F(ProgramRecordTest, TypingANameLoadsOnEveryCharacterWithoutTouchingTheCompanyFile)
{
    base.write(QStringLiteral("data/Ab.dat"),
        "[SITES]\r\nsimtelcb=$1\r\nCSIMTEL=  \"Utilities\"  \r\nextra=kept\r\n"
        "[APPINFO]\r\nversion=3.1\r\n[COMPANY]\r\nCONAME=Acme\r\nCONTACT=Old Contact\r\n");
    // The company's own file has changed since: the program keeps its own copy.
    base.write(QStringLiteral("data/Acme.dat"), "[COMPANY]\r\nCONAME=Acme\r\nCONTACT=New Contact\r\n");
    QTest::keyClicks(form.appname(), QStringLiteral("A"));
    EXPECT_EQ(form.appurl()->text(), QStringLiteral("http://"));
    form.version()->setText(QStringLiteral("typed"));
    fake.answers = {Dialogs::Answer::No}; // the edit is discarded when asked
    QTest::keyClicks(form.appname(), QStringLiteral("b"));
    EXPECT_EQ(fake.questions, QStringList{QStringLiteral("Would you like to save A?")});
    EXPECT_EQ(form.version()->text(), QStringLiteral("3.1"));
    EXPECT_EQ(form.compname()->currentText(), QStringLiteral("Acme"));
    EXPECT_EQ(form.conname()->text(), QStringLiteral("Old Contact"));
    EXPECT_TRUE(form.findChild<QCheckBox*>(QStringLiteral("simtelcb"))->isChecked());
    EXPECT_EQ(form.findChild<QComboBox*>(QStringLiteral("simtelpd"))->currentText(), QStringLiteral("Utilities"));

    // Hand-edited sections in another order and extra keys survive a save.
    form.savesite();
    const QByteArray saved = base.read(QStringLiteral("data/Ab.dat"));
    EXPECT_TRUE(saved.startsWith("[SITES]\r\nsimtelcb=1\r\nCSIMTEL=Utilities\r\nextra=kept\r\n")) << saved.data();
    EXPECT_TRUE(saved.contains("\r\nversion=3.1\r\n"));
    EXPECT_EQ(saved.count("[COMPANY]"), 1);
}

TEST_F(ProgramRecordTest, ListsGrowOnceWhateverTheCaseAndKeepEveryStoredName)
{
    // Stored names that the drop-down lists were never filled with.
    base.write(QStringLiteral("data/apps.dat"), "Zeta\r\nmyprog\r\n");
    base.write(QStringLiteral("data/companies.dat"), "Zeta Soft\r\n");
    ASSERT_EQ(form.appname()->count(), 0);

    form.appname()->setEditText(QStringLiteral("Alpha"));
    form.compname()->setEditText(QStringLiteral("ACME"));
    form.savesite();
    form.savesite();
    form.compname()->setEditText(QStringLiteral("acme"));
    form.savesite();
    form.appname()->setEditText(QStringLiteral("MyProg"));
    form.savesite();

    EXPECT_EQ(base.read(QStringLiteral("data/apps.dat")), "Zeta\r\nmyprog\r\nAlpha\r\n");
    EXPECT_EQ(base.read(QStringLiteral("data/companies.dat")), "Zeta Soft\r\nACME\r\n");
    EXPECT_TRUE(QFile::exists(base.file(QStringLiteral("data/MyProg.dat"))));
    EXPECT_TRUE(QFile::exists(base.file(QStringLiteral("data/acme.dat"))));
    EXPECT_EQ(form.appname()->count(), 3);
    EXPECT_EQ(form.appname()->currentText(), QStringLiteral("MyProg"));
    EXPECT_EQ(form.compname()->itemText(1), QStringLiteral("ACME"));
    EXPECT_TRUE(fake.shown.isEmpty());
}

TEST_F(ProgramRecordTest, EnteringTheNameBoxReloadsItsItemsAndPickingOneLoadsIt)
{
    form.appname()->setEditText(QStringLiteral("typed"));
    enter(form.appname());
    EXPECT_EQ(form.appname()->count(), 0); // no list file: items stay
    base.write(QStringLiteral("data/apps.dat"), "One\r\nTwo\r\n");
    enter(form.appname());
    EXPECT_EQ(form.appname()->count(), 2);
    EXPECT_EQ(form.appname()->itemText(1), QStringLiteral("Two"));
    EXPECT_EQ(form.appname()->currentText(), QStringLiteral("typed"));

    // Picking a name from the list loads its record.
    base.write(QStringLiteral("data/Two.dat"), "[APPINFO]\r\nVERSION=2.0\r\n");
    form.appname()->setCurrentIndex(1);
    emit form.appname()->textActivated(form.appname()->currentText());
    EXPECT_EQ(form.version()->text(), QStringLiteral("2.0"));
}

TEST_F(ProgramRecordTest, EmptyNameSavesNothingAndEmptyCompanyIsSavedAsDotDat)
{
    form.compname()->setEditText(QStringLiteral("Acme"));
    form.savesite();
    EXPECT_TRUE(QDir(base.file(QStringLiteral("data"))).isEmpty());

    form.appname()->setEditText(QStringLiteral("Prog"));
    form.compname()->setEditText(QString());
    form.savesite();
    EXPECT_EQ(base.read(QStringLiteral("data/companies.dat")), "\r\n");
    EXPECT_TRUE(base.read(QStringLiteral("data/.dat")).startsWith("[COMPANY]\r\nCONAME=\r\n"));
}

TEST_F(ProgramRecordTest, MissingDataFolderIsCreated)
{
    QDir(base.file(QStringLiteral("data"))).removeRecursively();
    form.appname()->setEditText(QStringLiteral("Prog"));
    form.savesite();
    EXPECT_TRUE(QFile::exists(base.file(QStringLiteral("data/Prog.dat"))));
    EXPECT_EQ(base.read(QStringLiteral("data/apps.dat")), "Prog\r\n");
}

TEST_F(ProgramRecordTest, HostileNamesAreNeverUsedAsFileNames)
{
    base.write(QStringLiteral("outside.dat"), "[APPINFO]\r\nVERSION=9\r\n");
    // The last two would write the record into the program or company list.
    const char* names[] = {"../outside", "a/b", "a\\b", ".", "..", "apps", "companies"};
    for (const char* raw : names) {
        const QString name = QString::fromLatin1(raw);
        fake.errors.clear();
        form.version()->setText(QStringLiteral("1"));
        form.markSaved();
        load(form, name);
        EXPECT_EQ(form.version()->text(), QString()) << raw; // loads as a name without a record

        form.SaveAppData1()->trigger();
        EXPECT_EQ(fake.errors,
            QStringList{QStringLiteral("Unable to write to ") + base.path() + QStringLiteral("/data/") + name
                + QStringLiteral(".dat")})
            << raw;
        EXPECT_TRUE(QDir(base.file(QStringLiteral("data"))).isEmpty()) << raw;
    }
    EXPECT_EQ(base.read(QStringLiteral("outside.dat")), "[APPINFO]\r\nVERSION=9\r\n");

    // A hostile company name is refused the same way, before anything is written.
    fake.errors.clear();
    form.appname()->setEditText(QStringLiteral("Good"));
    form.compname()->setEditText(QStringLiteral("../Evil"));
    form.SaveAppData1()->trigger();
    EXPECT_EQ(fake.errors,
        QStringList{QStringLiteral("Unable to write to ") + base.path() + QStringLiteral("/data/../Evil.dat")});
    EXPECT_TRUE(QDir(base.file(QStringLiteral("data"))).isEmpty());
}

TEST_F(ProgramRecordTest, FailedWritesStopTheSaveAndKeepEarlierSteps)
{
    // Missing basedir: the first write, the company list, fails; nothing is created.
    form.setBasedir(base.file(QStringLiteral("gone")));
    form.appname()->setEditText(QStringLiteral("Prog"));
    form.compname()->setEditText(QStringLiteral("Acme"));
    form.SaveAppData1()->trigger();
    EXPECT_EQ(fake.errors,
        QStringList{QStringLiteral("Cannot create file ") + base.file(QStringLiteral("gone/data/companies.dat"))});
    EXPECT_FALSE(QFile::exists(base.file(QStringLiteral("gone"))));

    // Read-only data folder with both names already listed: the company record fails.
    form.setBasedir(base.path());
    base.write(QStringLiteral("data/apps.dat"), "Prog\r\n");
    base.write(QStringLiteral("data/companies.dat"), "Acme\r\n");
    fake.errors.clear();
    {
        ReadOnly guard(base.file(QStringLiteral("data")), 0555);
        form.SaveAppData1()->trigger();
    }
    EXPECT_EQ(
        fake.errors, QStringList{QStringLiteral("Unable to write to ") + base.file(QStringLiteral("data/Acme.dat"))});
    EXPECT_FALSE(QFile::exists(base.file(QStringLiteral("data/Prog.dat"))));

    // A read-only record: the list step before it stays done, the old record stays whole.
    base.write(QStringLiteral("data/New.dat"), "[APPINFO]\r\nVERSION=old\r\n");
    form.appname()->setEditText(QStringLiteral("New"));
    fake.errors.clear();
    {
        ReadOnly guard(base.file(QStringLiteral("data/New.dat")), 0444);
        form.SaveAppData1()->trigger();
    }
    EXPECT_EQ(
        fake.errors, QStringList{QStringLiteral("Unable to write to ") + base.file(QStringLiteral("data/New.dat"))});
    EXPECT_EQ(base.read(QStringLiteral("data/apps.dat")), "Prog\r\nNew\r\n");
    EXPECT_EQ(base.read(QStringLiteral("data/New.dat")), "[APPINFO]\r\nVERSION=old\r\n");
    EXPECT_FALSE(QFile::exists(base.file(QStringLiteral("data/New.lds"))));

    // A text file that cannot be created: the profile part before it is written.
    QDir().mkpath(base.file(QStringLiteral("data/Texts.lds")));
    form.appname()->setEditText(QStringLiteral("Texts"));
    fake.errors.clear();
    form.SaveAppData1()->trigger();
    EXPECT_EQ(
        fake.errors, QStringList{QStringLiteral("Cannot create file ") + base.file(QStringLiteral("data/Texts.lds"))});
    const QByteArray partial = base.read(QStringLiteral("data/Texts.dat"));
    EXPECT_TRUE(partial.contains("[APPINFO]"));
    EXPECT_FALSE(partial.contains("[SITES]"));
}

TEST_F(ProgramRecordTest, PassingThroughANameBoxKeepsTheFieldsTheUserEdited)
{
    base.write(QStringLiteral("data/apps.dat"), "Two\r\nMyProg\r\n");
    base.write(QStringLiteral("data/MyProg.dat"), "[APPINFO]\r\nVERSION=2.0\r\n");
    base.write(QStringLiteral("data/companies.dat"), "Acme\r\n");
    base.write(QStringLiteral("data/Acme.dat"), "[COMPANY]\r\nCONAME=Acme\r\nCONTACT=Jo\r\n");
    form.show();
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));

    const QList<std::tuple<QWidget*, QComboBox*, QString, QLineEdit*, QString>> cases = {
        {form.appinfopage(), form.appname(), QStringLiteral("MyProg"), form.version(), QStringLiteral("2.0")},
        {form.companypage(), form.compname(), QStringLiteral("Acme"), form.conname(), QStringLiteral("Jo")},
    };
    for (const auto& [page, box, name, field, loaded] : cases) {
        form.PageControl1()->setCurrentWidget(page);
        box->setFocus();
        QTest::keyClicks(box, name);
        QTest::keyClick(box, Qt::Key_Return);
        field->setFocus();
        EXPECT_EQ(field->text(), loaded) << name.toStdString();
        field->setText(QStringLiteral("edited"));
        // Entering the box reloads its items; leaving it, or Enter, picks nothing.
        box->setFocus();
        QTest::keyClick(box, Qt::Key_Return);
        field->setFocus();
        EXPECT_EQ(field->text(), QStringLiteral("edited")) << name.toStdString();
        EXPECT_EQ(box->currentText(), name);
    }
}
