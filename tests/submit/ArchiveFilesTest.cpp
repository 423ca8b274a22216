// The archive sites' generated files: their texts against expected bytes in tests/data/submit,
// the zip rules, the archive made through the real zip library, and files written whole.
#include "FakeRunWindow.h"
#include "core/Errors.h"
#include "core/LineFile.h"
#include "submit/ArchiveSites.h"
#include "submit/ArchiveSteps.h"
#include "support/FakeDialogs.h"
#include "support/TempBase.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

namespace {

QString s(const char* text)
{
    return QString::fromUtf8(text);
}

QByteArray expected(const char* name)
{
    QFile f(QStringLiteral(QUILLET_TEST_DATA_DIR "/submit/") + s(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("missing data file");
}

QByteArray bytesOf(const QStringList& lines)
{
    QByteArrayList raw;
    for (const QString& line : lines)
        raw.append(line.toUtf8());
    return joinLines(raw);
}

using Texts = QMap<QString, QString>;

Texts fullListing()
{
    return {{s("appname"), s("Jot It")}, {s("version"), s("3.2")}, {s("char8name"), s("jotit32")}, {s("month"), s("3")},
        {s("ldatel"), s("7-Mar-1999")}, {s("bytesize"), s("123456")}, {s("status"), s("Shareware")},
        {s("diststatus"), s("Author")}, {s("installer"), s("Setup program")}, {s("compname"), s("Inkwell Works")},
        {s("conmail"), s("ann@inkwell.example")}, {s("appurl"), s("http://inkwell.example/jotit.html")},
        {s("dl1"), s("ftp://ftp.inkwell.example/jotit32.zip")}, {s("screenshot"), s("http://inkwell.example/shot.gif")},
        {s("longdesc"), s("Jot It keeps notes in a stack.\r\n\r\nIt prints them too.")},
        {s("Memo2"), s("Please list under Utilities.\r\nThanks!")}, {s("shortdesc"), s("Notes in a stack")},
        {s("platforms"), s("Windows 95")}, {s("winsitepd"), s("desktop/notes")}, {s("conname"), s("Ann Author")},
        {s("pubpage"), s("http://inkwell.example/")}, {s("conaddr"), s("1 Quill Lane")}, {s("concity"), s("Penton")},
        {s("constate"), s("NY")}, {s("conzip"), s("10001")}, {s("concountry"), s("USA")},
        {s("conphone"), s("555-0100")}, {s("simtelpd"), s("win95/desktop")}, {s("specreq"), QString()}};
}

// No month, the location placeholder, empty memos, a three-letter name, a demo for NT.
Texts sparseListing()
{
    return {{s("appname"), s("ABC")}, {s("char8name"), s("abc")}, {s("ldatel"), s("7-")},
        {s("status"), s("Time Limit Demo")}, {s("compname"), s("Tiny Co")}, {s("dl1"), s("ftp://... or http://...")},
        {s("shortdesc"), s("Tiny tool")}, {s("platforms"), s("Windows NT")}, {s("specreq"), s("DirectX 5")}};
}

TEST(ArchiveTexts, EveryLayoutLineForLine)
{
    struct Case
    {
        const char* listing;
        Texts texts;
        const char* prefix;
    };
    for (const Case& c : {Case{"full", fullListing(), "full"}, Case{"sparse", sparseListing(), "sparse"}}) {
        SCOPED_TRACE(c.listing);
        const ArchiveTexts texts([&c](const QString& control) { return c.texts.value(control); });
        const QByteArray prefix(c.prefix);
        EXPECT_EQ(bytesOf(texts.description(ArchiveTexts::Layout::Simtel)), expected(prefix + "-simtel.txt"));
        EXPECT_EQ(bytesOf(texts.description(ArchiveTexts::Layout::Winsite)), expected(prefix + "-winsite.txt"));
        EXPECT_EQ(bytesOf(texts.tmlForm()), expected(prefix + ".tml"));
        EXPECT_EQ(bytesOf(texts.announcement()), expected(prefix + "-announcement.txt"));
    }
    const Texts sparse = sparseListing();
    const ArchiveTexts texts([&sparse](const QString& control) { return sparse.value(control); });
    EXPECT_EQ(texts.announcementFileLine(), s("abc.zip         Tiny tool"));
}

TEST(ArchiveTexts, DemoAnswerAndPlatformLines)
{
    struct Case
    {
        const char* status;
        const char* platforms;
        const char* demoLine;
        int platformLines; // the title line and the two Win95/WinNT answers
    };
    const Case cases[] = {
        {"Shareware", "Windows 95 and NT", "Is this a demo version? (yes/no): No", 3},
        {"Feature Limit Demo", "Windows 95", "Is this a demo version? (yes/no): Yes", 3},
        {"Time Limit Demo", "Windows NT", "Is this a demo version? (yes/no): Yes", 3},
        {"Freeware", "Windows 3.1", "Is this a demo version? (yes/no): No", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.platforms);
        Texts t = fullListing();
        t[s("status")] = s(c.status);
        t[s("platforms")] = s(c.platforms);
        const QStringList form = ArchiveTexts([&t](const QString& control) { return t.value(control); }).tmlForm();
        EXPECT_TRUE(form.contains(s(c.demoLine)));
        const auto platformLines = std::count_if(form.begin(), form.end(), [](const QString& line) {
            return line.contains(QLatin1String("FILL-IN FORM FOR"))
                || line.contains(QLatin1String("compiled for Win95"))
                || line.contains(QLatin1String("compiled for WinNT"));
        });
        EXPECT_EQ(platformLines, c.platformLines);
    }
}

TEST(ArchiveFiles, ZipRules)
{
    struct Case
    {
        const char* localpath;
        bool exists;
        ZipAction simtel;
        ZipAction papa;
        ZipAction winsite;
    };
    using Z = ZipAction;
    const Case cases[] = {
        {"/p/prog.zip", false, Z::CopyThenAddDescription, Z::CopyThenAddDescription, Z::AddBoth},
        {"/p/PROG.ZIP", false, Z::AddBoth, Z::AddBoth, Z::AddBoth},
        {"/p/prog.exe", false, Z::AddBoth, Z::AddBoth, Z::AddBoth},
        {"/p/prog.zip", true, Z::CopyThenAddDescription, Z::KeepExisting, Z::KeepExisting},
        {"/p/prog.exe", true, Z::AddBoth, Z::KeepExisting, Z::KeepExisting},
        {"zip", false, Z::AddBoth, Z::AddBoth, Z::AddBoth},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.localpath);
        EXPECT_EQ(simtelZipAction(s(c.localpath)), c.simtel);
        EXPECT_EQ(papaZipAction(s(c.localpath), c.exists), c.papa);
        EXPECT_EQ(winsiteZipAction(c.exists), c.winsite);
    }
}

TEST(ArchiveFiles, NamesNeverReachOutsideTheFilesFolder)
{
    const ArchiveFiles files = ArchiveFiles::forProgram(s("/base"), s("jotit32"));
    EXPECT_EQ(files.description, s("/base/files/jotit32.txt"));
    EXPECT_EQ(files.tmlForm, s("/base/files/jotit32.tml"));
    EXPECT_EQ(files.archive, s("/base/files/jotit32.zip"));
    for (const char* bad : {"", ".", "..", "../x", "a/b", "a\\b"}) {
        SCOPED_TRACE(bad);
        EXPECT_THROW(ArchiveFiles::forProgram(s("/base"), s(bad)), ECreateError);
    }
}

class ArchiveStepsTest : public ::testing::Test
{
protected:
    ArchiveStepsTest()
    {
        window.base = base.path();
        files = ArchiveFiles::forProgram(base.path(), s("jotit32"));
        base.write(s("files/jotit32.txt"), "Name                : Jot It\r\n");
    }

    QStringList archiveNames(const QString& archive)
    {
        QProcess unzip;
        unzip.start(s("unzip"), {s("-Z1"), archive});
        unzip.waitForFinished(30000);
        return QString::fromUtf8(unzip.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

    QString make(ZipAction action, const QString& localpath)
    {
        return ArchiveSteps::makeArchive(window, action, files, localpath, s(QUILLET_BINARY_DIR));
    }

    FakeDialogs dialogs;
    TempBase base;
    FakeRunWindow window;
    ArchiveFiles files;
};

// The archive texts are wrapped; the author's text in the window is not touched.
TEST_F(ArchiveStepsTest, TextsAreWrappedWindowIsNot)
{
    const QString longLine = QString(40, QLatin1Char('a')) + s(" ") + QString(40, QLatin1Char('b'));
    window.texts[s("Memo2")] = longLine;
    window.texts[s("longdesc")] = s("short\r\n") + longLine;
    const ArchiveTexts texts = ArchiveSteps::textsOf(window);
    const QString description = texts.description(ArchiveTexts::Layout::Simtel).join(s("\n"));
    EXPECT_TRUE(description.contains(QString(40, QLatin1Char('a')) + s("\n") + QString(40, QLatin1Char('b'))))
        << description.toStdString();
    EXPECT_EQ(window.texts[s("Memo2")], longLine);
    EXPECT_EQ(window.texts[s("longdesc")], s("short\r\n") + longLine);
    EXPECT_FALSE(window.events.join(s(" ")).contains(s("Memo2=")));
}

TEST_F(ArchiveStepsTest, ArchivesAsEachActionMakesThem)
{
    base.write(s("prog/jot.exe"), QByteArray(3000, 'x'));
    // The program's own archive, made by the zip command.
    base.write(s("prog/readme.1st"), "read me");
    QProcess::execute(s("zip"), {s("-qj"), base.file(s("prog/jot.zip")), base.file(s("prog/readme.1st"))});
    base.write(s("prog/JOT.ZIP"), base.read(s("prog/jot.zip")));

    make(ZipAction::AddBoth, base.file(s("prog/jot.exe")));
    EXPECT_EQ(archiveNames(files.archive), (QStringList{s("jot.exe"), s("jotit32.txt")}));
    EXPECT_TRUE(window.texts[s("genlabel")].startsWith(s("Zipping: ")));
    EXPECT_TRUE(window.events.contains(s("genlabel=Zipping: ") + base.file(s("prog/jot.exe")) + s(" - Size: 3000")));

    make(ZipAction::KeepExisting, base.file(s("prog/jot.zip")));
    EXPECT_EQ(archiveNames(files.archive), (QStringList{s("jot.exe"), s("jotit32.txt")}));

    // A copy replaces what was there.
    make(ZipAction::CopyThenAddDescription, base.file(s("prog/jot.zip")));
    EXPECT_EQ(archiveNames(files.archive), (QStringList{s("readme.1st"), s("jotit32.txt")}));

    // An upper-case zip goes into a new archive whole.
    QFile::remove(files.archive);
    make(ZipAction::AddBoth, base.file(s("prog/JOT.ZIP")));
    EXPECT_EQ(archiveNames(files.archive), (QStringList{s("JOT.ZIP"), s("jotit32.txt")}));
    EXPECT_EQ(dialogs.shown, QStringList());
    EXPECT_EQ(QDir(base.file(s("files"))).entryList(QDir::Files | QDir::Hidden),
        (QStringList{s("jotit32.txt"), s("jotit32.zip")}));
}

TEST_F(ArchiveStepsTest, AFailedBuildLeavesTheArchiveThatWasThere)
{
    base.write(s("files/jotit32.zip"), "an earlier archive");
    // The program's "zip" is not an archive: the add fails, the copy never replaces the old file.
    base.write(s("prog/fake.zip"), QByteArray(70000, '\0'));
    // The library's own message says why.
    EXPECT_TRUE(make(ZipAction::CopyThenAddDescription, base.file(s("prog/fake.zip"))).startsWith(s("Cannot open ")));
    EXPECT_EQ(base.read(s("files/jotit32.zip")), "an earlier archive");
    EXPECT_EQ(QDir(base.file(s("files"))).entryList(QDir::Files | QDir::Hidden),
        (QStringList{s("jotit32.txt"), s("jotit32.zip")}));

    // Without the zip library nothing is made, and the component says why.
    QFile::remove(files.archive);
    base.write(s("prog/jot.exe"), "program");
    EXPECT_EQ(ArchiveSteps::makeArchive(window, ZipAction::AddBoth, files, base.file(s("prog/jot.exe")), base.path()),
        s("libqzip.so not found"));
    EXPECT_FALSE(QFile::exists(files.archive));
    EXPECT_TRUE(dialogs.shown.contains(s("libqzip.so not found")));
}

TEST_F(ArchiveStepsTest, TextFilesAreWrittenWholeOrNotAtAll)
{
    ArchiveSteps::writeTextFile(files.tmlForm, {s("one"), s("two")});
    EXPECT_EQ(base.read(s("files/jotit32.tml")), "one\r\ntwo\r\n");
    // In the record's encoding, unless that cannot hold the text.
    struct Case
    {
        TextEncoding record;
        const char* text;
        QByteArray bytes;
    };
    for (const Case& c : {Case{TextEncoding::Windows1252, "Caf\u00e9", "Caf\xe9\r\n"},
             Case{TextEncoding::Utf8, "Caf\u00e9", "Caf\xc3\xa9\r\n"},
             Case{TextEncoding::Windows1252, "\u03a9mega", "\xce\xa9mega\r\n"}}) {
        ArchiveSteps::writeTextFile(files.tmlForm, {s(c.text)}, c.record);
        EXPECT_EQ(base.read(s("files/jotit32.tml")), c.bytes) << c.text;
    }

    const ArchiveFiles nowhere = ArchiveFiles::forProgram(base.file(s("missing")), s("jotit32"));
    try {
        ArchiveSteps::writeTextFile(nowhere.description, {s("x")});
        ADD_FAILURE() << "no error raised";
    } catch (const ECreateError& e) {
        EXPECT_EQ(e.message(), s("Cannot create file ") + nowhere.description);
    }
    EXPECT_FALSE(QFile::exists(base.file(s("missing"))));
}

} // namespace

namespace {

// The stages simtel and papa share, for a program file that is not a zip and one that is.
TEST_F(ArchiveStepsTest, DescribeAndZipLogsEachStageInOrder)
{
    const QString longLine = QString(50, QLatin1Char('w')) + s(" ") + QString(30, QLatin1Char('z'));
    window.texts = fullListing();
    window.texts[s("longdesc")] = longLine;
    base.write(s("prog/jot.exe"), QByteArray(100, 'p'));
    window.texts[s("localpath")] = base.file(s("prog/jot.exe"));

    const auto papaRule = [](const QString& path, bool exists) { return papaZipAction(path, exists); };
    ArchiveSites::describeAndZip(window, s("Papa WinSock-L FTP Archive"), s("Papa WinSock-L FTP Archive"), false,
        papaRule, s(QUILLET_BINARY_DIR));
    EXPECT_EQ(window.log,
        (QStringList{s("Papa WinSock-L FTP Archive: Saved ") + files.description,
            s("Papa WinSock-L FTP Archive: Zipped files\\jotit32.zip")}));
    QStringList shown;
    for (const QString& e : window.events) {
        if (e.startsWith(s("currentsite=")))
            shown.append(e);
    }
    EXPECT_EQ(shown,
        (QStringList{s("currentsite=Papa WinSock-L FTP Archive  (Generating Text File)"),
            s("currentsite=Papa WinSock-L FTP Archive  (Creating Zip File)")}));
    EXPECT_EQ(window.texts[s("genlabel")], QString());
    EXPECT_EQ(window.lamps, (QMap<QString, bool>{{s("httpled"), false}, {s("ftpled"), true}, {s("mailled"), false}}));
    // The description holds the wrapped text; the window keeps the text as typed.
    EXPECT_EQ(window.texts[s("longdesc")], QString(50, QLatin1Char('w')) + s(" ") + QString(30, QLatin1Char('z')));
    EXPECT_TRUE(
        base.read(s("files/jotit32.txt"))
            .endsWith("Description         :\r\n" + QByteArray(50, 'w') + "\r\n" + QByteArray(30, 'z') + "\r\n"));
    EXPECT_EQ(archiveNames(files.archive), (QStringList{s("jot.exe"), s("jotit32.txt")}));

    // papa keeps an archive that is there; the description file is written again.
    const QByteArray archive = base.read(s("files/jotit32.zip"));
    window.texts[s("appname")] = s("Jot It Again");
    ArchiveSites::describeAndZip(window, s("P"), s("P"), false, papaRule, s(QUILLET_BINARY_DIR));
    EXPECT_EQ(base.read(s("files/jotit32.zip")), archive);
    EXPECT_TRUE(base.read(s("files/jotit32.txt")).startsWith("Name                : Jot It Again\r\n"));
}

} // namespace
