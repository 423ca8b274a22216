#include "app/CategoryFiles.h"
#include "app/ComboItems.h"
#include "app/SiteLinks.h"
#include "app/TForm1.h"
#include "core/LineFile.h"
#include "core/ProfileFile.h"
#include "submit/FileMineCategoryCodes.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QUrl>
#include <gtest/gtest.h>

#include "support/FakeDialogs.h"

// Checks the sample folder that ships beside the program: the data a new user starts with.
namespace {

QString sampleDir()
{
    return QStringLiteral(QUILLET_SOURCE_DIR "/sample");
}

QString catFile(const QString& name)
{
    return sampleDir() + QLatin1String("/cat/") + name;
}

QByteArray bytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Every line ends with CR LF, and there is no bare CR or LF.
bool hasCrLfLines(const QByteArray& content)
{
    if (content.isEmpty())
        return true;
    if (!content.endsWith("\r\n"))
        return false;
    for (qsizetype i = 0; i < content.size(); ++i) {
        if (content[i] == '\n' && (i == 0 || content[i - 1] != '\r'))
            return false;
        if (content[i] == '\r' && (i + 1 == content.size() || content[i + 1] != '\n'))
            return false;
    }
    return true;
}

QStringList lines(const QString& path)
{
    return readLineFile(path).value_or(QStringList{});
}

QStringList texts(std::initializer_list<const char*> items)
{
    QStringList list;
    for (const char* item : items)
        list.append(QString::fromUtf8(item));
    return list;
}

TEST(SampleData, FileMineListHoldsExactlyTheSiteTexts)
{
    const QByteArray raw = bytes(catFile(QStringLiteral("filemine.cat")));
    EXPECT_TRUE(hasCrLfLines(raw));
    const QStringList entries = lines(catFile(QStringLiteral("filemine.cat")));
    // The texts of the site's code table, which the GET recipe looks the list's text up in.
    const auto& table = fileMineCategories().rows;
    ASSERT_EQ(table.size(), 142u);
    ASSERT_EQ(entries.size(), qsizetype(table.size()));
    for (qsizetype i = 0; i < entries.size(); ++i)
        EXPECT_EQ(entries[i], QString::fromUtf8(table[i].text)) << "line " << i + 1;
}

TEST(SampleData, EveryPickListHasAFileOfDistinctEntries)
{
    QStringList files;
    for (const QString& control : CategoryFiles::controls())
        files.append(CategoryFiles::fileFor(control));
    for (const QString& category : CategoryFiles::wincentCategories())
        files.append(CategoryFiles::wincentSubcategoryFile(category));
    files.removeDuplicates();
    ASSERT_EQ(files.size(), 26);
    for (const QString& name : files) {
        SCOPED_TRACE(name.toStdString());
        const QByteArray raw = bytes(catFile(name));
        ASSERT_FALSE(raw.isEmpty());
        EXPECT_TRUE(hasCrLfLines(raw));
        const QStringList entries = lines(catFile(name));
        EXPECT_GE(entries.size(), 4);
        EXPECT_EQ(QSet<QString>(entries.begin(), entries.end()).size(), entries.size()) << "duplicate entry";
        for (const QString& entry : entries)
            EXPECT_EQ(entry, entry.trimmed()) << "blank or padded entry";
    }
}

TEST(SampleData, PickListsThatRecipesMapHoldTheirTexts)
{
    EXPECT_EQ(lines(catFile(QStringLiteral("wincent.cat"))), CategoryFiles::wincentCategories());
    // Each Shareware Junkies category picks a form page of its own.
    EXPECT_EQ(lines(catFile(QStringLiteral("swjunkie.cat"))),
        texts({"Archive & Compression", "Business", "Clipboard", "Database & PIM's", "Desktop", "Educational", "Email",
            "Ftp", "Graphics", "Home & Hobby", "Internet Miscellaneous", "Miscellaneous", "Multimedia", "PC Games",
            "Programming", "Screensavers", "Security", "Utilities", "Anti-Virus", "Webpage Creation & Tools",
            "Words & Editors"}));
    // Web Attack refuses this one category; the user must be able to pick it.
    EXPECT_TRUE(lines(catFile(QStringLiteral("wattack.cat"))).contains(QStringLiteral("Misc.Non Web related Tools")));
}

TEST(SampleData, EverySiteLinkHasAnAddressUnderTheReservedDomain)
{
    EXPECT_TRUE(hasCrLfLines(bytes(catFile(QStringLiteral("sites.dat")))));
    EXPECT_TRUE(hasCrLfLines(bytes(catFile(QStringLiteral("urls.dat")))));
    const QStringList names = SiteLinks(sampleDir() + QLatin1String("/cat")).names();
    ASSERT_GE(names.size(), 10);
    for (const QString& name : names) {
        const QUrl url(SiteLinks(sampleDir() + QLatin1String("/cat")).address(name));
        EXPECT_TRUE(url.isValid() && url.host().endsWith(QLatin1String(".example"))) << name.toStdString();
    }
}

const QStringList companyKeys = texts({"CONAME", "CONTACT", "CTITLE", "CEMAIL", "CPHONE", "CFAX", "CADDR", "CCITY",
    "CSTATE", "CZIP", "CCOUNTRY", "CURL", "CCMAIL"});

// The keys of a profile file, section by section, as they stand in the file.
QList<QPair<QString, QStringList>> sectionsOf(const QString& path)
{
    QList<QPair<QString, QStringList>> sections;
    for (const QString& line : lines(path)) {
        if (line.startsWith(QLatin1Char('[')))
            sections.append({line.mid(1, line.size() - 2), {}});
        else if (!sections.isEmpty() && line.contains(QLatin1Char('=')))
            sections.last().second.append(line.left(line.indexOf(QLatin1Char('='))));
    }
    return sections;
}

TEST(SampleData, DemoProgramIsACompleteRecordWithItsArchive)
{
    const QString data = sampleDir() + QLatin1String("/data/");
    const QStringList programs = lines(data + QLatin1String("apps.dat"));
    ASSERT_EQ(programs.size(), 1);
    const QString record = data + programs[0] + QLatin1String(".dat");
    for (const QString& file :
        {QStringLiteral("apps.dat"), QStringLiteral("companies.dat"), programs[0] + QLatin1String(".dat"),
            programs[0] + QLatin1String(".lds"), programs[0] + QLatin1String(".nts")}) {
        EXPECT_TRUE(hasCrLfLines(bytes(data + file))) << file.toStdString();
        EXPECT_FALSE(bytes(data + file).isEmpty()) << file.toStdString();
    }

    const QStringList appKeys = texts({"FILENAME", "NAME", "8CHAR", "VERSION", "DAY", "MONTH", "YEAR", "PLATFORM",
        "DSTATUS", "SIZE", "INSTSIZE", "PRICE", "STATUS", "EVAL", "XDATE", "XDAYS", "installer", "APPURL", "DL1", "DL2",
        "DL3", "DL4", "DL5", "DL6", "SHOT", "PATH", "SHORTDESC"});
    QStringList siteKeys = texts({"CTUCOWS", "CWINDOWS95COM", "CKELLS", "CWINCENT", "SWINCENT", "CDLOADCOM", "CSIMTEL",
        "CWINSITE", "CFILEMINE", "CSW95COM", "CMSPAGE", "CPASSSW", "CFKING", "swjunkiepd", "sharedirpd1", "sharedirpd2",
        "CSTB", "cswpd", "sshakpd", "snetpd", "winswpd", "wattackpd"});
    siteKeys += QStringLiteral(
        "tucowsnewcb tucowscb win95newcb win95cb new32bit bit32cb kellcentnewcb kccb cwsnewcb treskcb "
        "wincentnewcb wincentcb downloadnewcb downloadcb simtelnewcb simtelcb winsitenewcb winsitecb "
        "fileminenewcb fileminecb sharewarenewcb shareware95cb warehousenewcb wsockwhcb marnelsnewcb "
        "marnelscb vosknewcb voskcb keyscreennewcb keyscreencb swpagenewcb myswcb otbanewcb otbacb "
        "slaughnewcb Slaughterhousecb pow95new powin95up dlnetnew dlnetup essennew essenup capfishnew "
        "capfishup digisafarinew digisafariup fwfavnew fwfavup f32comnew f32comup galtnew galtup gwsnew "
        "gwsup jaydenew jaydeup ptsnew ptsup rocketnew rocketup sharepapernew sharepaperup swrnew swrup "
        "swshopnew swshopup c2cnew c2cup gratisnew gratisup swspnew swspup ssnew ssup swronew swroup "
        "fenworldnew fenworldup wpipenew wpipeup wugnetnew wugnetup tudogsnew tudogsup shareinnew "
        "shareinup simpbestnew simpbestup fkingnew fkingup lgnew lgup swjunkienew swjunkieup papanew "
        "papaup sharedirnew sharedirup pcwinnew pcwinup win95empnew win95empup cswnew cswup sshaknew "
        "sshakup swarecentnew swarecentup snetnew snetup winswnew winswup wattacknew wattackup")
                    .split(QLatin1Char(' '));
    ASSERT_EQ(companyKeys.size() + appKeys.size() + siteKeys.size(), 176);
    const auto sections = sectionsOf(record);
    ASSERT_EQ(sections.size(), 3);
    EXPECT_EQ(sections[0], qMakePair(QStringLiteral("COMPANY"), companyKeys));
    EXPECT_EQ(sections[1], qMakePair(QStringLiteral("APPINFO"), appKeys));
    EXPECT_EQ(sections[2], qMakePair(QStringLiteral("SITES"), siteKeys));

    // The archive path is relative to the sample folder, the program's current folder.
    const QString path = ProfileFile::read(record, QStringLiteral("APPINFO"), QStringLiteral("PATH"));
    EXPECT_TRUE(QFileInfo(path).isRelative());
    const QFileInfo archive(QDir(sampleDir()).filePath(path));
    ASSERT_TRUE(archive.isFile()) << path.toStdString();
    EXPECT_EQ(
        ProfileFile::read(record, QStringLiteral("APPINFO"), QStringLiteral("SIZE")), QString::number(archive.size()));
    EXPECT_EQ(ProfileFile::read(record, QStringLiteral("APPINFO"), QStringLiteral("NAME")), programs[0]);
    EXPECT_LE(ProfileFile::read(record, QStringLiteral("APPINFO"), QStringLiteral("8CHAR")).size(), 8);
    EXPECT_LE(ProfileFile::read(record, QStringLiteral("APPINFO"), QStringLiteral("SHORTDESC")).size(), 46);
    // Category values the demo picks come from the shipped lists.
    EXPECT_TRUE(lines(catFile(QStringLiteral("filemine.cat")))
                    .contains(ProfileFile::read(record, QStringLiteral("SITES"), QStringLiteral("CFILEMINE"))));
}

TEST(SampleData, DemoCompanyIsListedWithItsRecord)
{
    const QString data = sampleDir() + QLatin1String("/data/");
    const QStringList companies = lines(data + QLatin1String("companies.dat"));
    ASSERT_EQ(companies.size(), 1);
    const QString record = data + companies[0] + QLatin1String(".dat");
    EXPECT_TRUE(hasCrLfLines(bytes(record)));
    const auto sections = sectionsOf(record);
    ASSERT_EQ(sections.size(), 1);
    EXPECT_EQ(sections[0], qMakePair(QStringLiteral("COMPANY"), companyKeys));
    EXPECT_EQ(ProfileFile::read(record, QStringLiteral("COMPANY"), QStringLiteral("CONAME")), companies[0]);
}

void enter(QWidget* widget)
{
    QFocusEvent event(QEvent::FocusIn, Qt::TabFocusReason);
    QCoreApplication::sendEvent(widget, &event);
}

// What a new user sees: the window on the sample folder offers the demo program, and picking it
// fills the record; its archive path works from the sample folder. Nothing here writes a file.
TEST(SampleFolder, WindowOffersTheDemoProgramAndPickingItFillsTheRecord)
{
    FakeDialogs fake;
    TForm1 form;
    form.setBasedir(sampleDir());
    enter(form.appname());
    const int index = form.appname()->findText(QStringLiteral("NoteStack"));
    ASSERT_GE(index, 0);
    form.appname()->setCurrentIndex(index);
    emit form.appname()->textActivated(form.appname()->currentText());

    EXPECT_EQ(form.char8name()->text(), QStringLiteral("notestak"));
    EXPECT_EQ(form.version()->text(), QStringLiteral("1.2"));
    EXPECT_EQ(form.status()->currentText(), QStringLiteral("Shareware"));
    EXPECT_EQ(form.ldatel()->text(), QStringLiteral("14-Mar-1999"));
    EXPECT_EQ(form.compname()->currentText(), QStringLiteral("Larkspur Software"));
    EXPECT_EQ(form.conname()->text(), QStringLiteral("Dana Whitfield"));
    EXPECT_TRUE(form.longdesc()->toPlainText().startsWith(QStringLiteral("NoteStack keeps your notes")));
    EXPECT_FALSE(form.Memo2()->toPlainText().isEmpty());
    EXPECT_EQ(form.findChild<QComboBox*>(QStringLiteral("fileminepd"))->currentText(),
        QStringLiteral("Utilities - Desktop Utilities"));
    EXPECT_TRUE(QFileInfo(QDir(sampleDir()).filePath(form.localpath()->text())).isFile());
    EXPECT_EQ(form.bytesize()->text(),
        QString::number(QFileInfo(QDir(sampleDir()).filePath(form.localpath()->text())).size()));

    enter(form.compname());
    EXPECT_EQ(comboItems(form.compname()), QStringList{QStringLiteral("Larkspur Software")});
    enter(form.findChild<QComboBox*>(QStringLiteral("fileminepd")));
    EXPECT_EQ(comboItems(form.findChild<QComboBox*>(QStringLiteral("fileminepd"))).size(), 142);
    EXPECT_TRUE(fake.shown.isEmpty());
}

} // namespace
