// The zip component with the real libqzip.so: archives read back by Python's zipfile and unzip -t,
// the component's refusals and loading messages, the library's options, cancel, damaged archives.
#include "archive/TZipBuilder.h"
#include "core/Errors.h"
#include "support/FakeDialogs.h"
#include "support/TempBase.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <gtest/gtest.h>

namespace {

QString s(const char* text)
{
    return QString::fromUtf8(text);
}

// One line per archive entry as Python's zipfile reads it: name, compression method, size and the
// SHA-256 of the contents; the last line is testzip's verdict ("ok" or the first bad entry).
QStringList pythonListing(const QString& archive)
{
    QProcess python;
    python.start(s("/usr/bin/python3"),
        {s("-c"),
            s("import hashlib, sys, zipfile\n"
              "z = zipfile.ZipFile(sys.argv[1])\n"
              "for i in z.infolist():\n"
              "    print(i.filename, i.compress_type, i.file_size, hashlib.sha256(z.read(i)).hexdigest())\n"
              "print(z.testzip() or 'ok')\n"),
            archive});
    python.waitForFinished(30000);
    return QString::fromUtf8(python.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

int unzipTest(const QString& archive)
{
    QProcess unzip;
    unzip.start(s("unzip"), {s("-tq"), archive});
    unzip.waitForFinished(30000);
    return unzip.exitStatus() == QProcess::NormalExit ? unzip.exitCode() : -1;
}

QString describe(const QString& name, const QByteArray& content, int method = 8)
{
    return QStringLiteral("%1 %2 %3 %4")
        .arg(name)
        .arg(method)
        .arg(content.size())
        .arg(QString::fromLatin1(QCryptographicHash::hash(content, QCryptographicHash::Sha256).toHex()));
}

QStringList entryNames(const TZipBuilder& zip)
{
    QStringList names;
    for (const ZipEntryInfo& e : zip.ZipContents())
        names.append(QString::fromLocal8Bit(e.fileName));
    return names;
}

const QByteArray Text = QByteArray("The quick brown fox jumps over the lazy dog.\r\n").repeated(200);
const QByteArray Binary = [] {
    QByteArray b;
    for (int i = 0; i < 5000; ++i)
        b.append(char((i * 7919) % 251));
    return b;
}();

class ZipBuilder : public ::testing::Test
{
protected:
    ZipBuilder()
    {
        zip.setLibraryDir(s(QUILLET_BINARY_DIR));
        QObject::connect(&zip, &TZipBuilder::OnProgress, [this](int type, const QString& name, qint64 size) {
            progress.append(QStringLiteral("%1|%2|%3").arg(type).arg(name).arg(size));
        });
        QObject::connect(&zip, &TZipBuilder::OnMessage,
            [this](int code, const QString& text) { messages.append(QStringLiteral("%1|%2").arg(code).arg(text)); });
        QObject::connect(&zip, &TZipBuilder::OnDirUpdate, [this] { ++dirUpdates; });
    }

    void add(const QString& archive, const QStringList& files)
    {
        zip.setZipFilename(archive);
        zip.FSpecArgs() = files;
        zip.Add();
    }

    FakeDialogs dialogs;
    TempBase base;
    TZipBuilder zip;
    QStringList progress;
    QStringList messages;
    int dirUpdates = 0;
};

TEST_F(ZipBuilder, CreatesAnArchiveOthersReadBack)
{
    base.write(s("src/docs/readme.txt"), Text);
    base.write(s("src/bin/prog.exe"), Binary);
    const QString archive = base.file(s("files/prog.zip"));
    add(archive, {base.file(s("src/bin/prog.exe")), base.file(s("src/docs/readme.txt"))});

    EXPECT_EQ(dialogs.shown, QStringList());
    EXPECT_EQ(zip.SuccessCnt(), 2);
    EXPECT_TRUE(zip.FSpecArgs().isEmpty());
    EXPECT_EQ(entryNames(zip), (QStringList{s("prog.exe"), s("readme.txt")}));
    EXPECT_EQ(pythonListing(archive),
        (QStringList{describe(s("prog.exe"), Binary), describe(s("readme.txt"), Text), s("ok")}));
    EXPECT_EQ(unzipTest(archive), 0);

    // Each file announced with its path and size; the batch ends once, after them.
    ASSERT_GE(progress.size(), 3);
    EXPECT_EQ(progress[0], QStringLiteral("0|%1|5000").arg(base.file(s("src/bin/prog.exe"))));
    EXPECT_EQ(progress[1], QStringLiteral("0|%1|%2").arg(base.file(s("src/docs/readme.txt"))).arg(Text.size()));
    EXPECT_EQ(progress.last(), s("2| |0"));
    for (qsizetype i = 2; i + 1 < progress.size(); ++i)
        EXPECT_EQ(progress[i], s("1| |0"));
}

TEST_F(ZipBuilder, AddingToAnArchiveKeepsItsEntries)
{
    base.write(s("one.txt"), Text);
    base.write(s("two.bin"), Binary);
    const QString archive = base.file(s("files/both.zip"));
    add(archive, {base.file(s("one.txt"))});
    add(archive, {base.file(s("two.bin"))});
    EXPECT_EQ(entryNames(zip), (QStringList{s("one.txt"), s("two.bin")}));
    EXPECT_EQ(
        pythonListing(archive), (QStringList{describe(s("one.txt"), Text), describe(s("two.bin"), Binary), s("ok")}));

    // The same name again replaces the entry rather than adding a second one; the rewritten archive
    // keeps the permissions it had, and no temporary file stays beside it.
    QFile::setPermissions(archive, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
    base.write(s("one.txt"), "changed");
    add(archive, {base.file(s("one.txt"))});
    EXPECT_EQ(entryNames(zip), (QStringList{s("one.txt"), s("two.bin")}));
    EXPECT_EQ(unzipTest(archive), 0);
    const QFile::Permissions ownerGroupOther = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup
        | QFile::WriteGroup | QFile::ExeGroup | QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;
    EXPECT_EQ(QFile::permissions(archive) & ownerGroupOther, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
    EXPECT_EQ(QDir(base.file(s("files"))).entryList(QDir::Files), QStringList{s("both.zip")});
}

TEST_F(ZipBuilder, RefusesWithItsMessagesAndTouchesNothing)
{
    base.write(s("a.txt"), Text);
    struct Case
    {
        const char* archive;
        QStringList files;
        const char* message;
    };
    const Case cases[] = {
        {"files/a.zip", {}, "Error - no files to zip"},
        {"", {base.file(s("a.txt"))}, "Error - no zip file specified"},
        {"files/a.EXE", {base.file(s("a.txt"))}, "Error - this pgm can NOT add files to a self-extracting archive"},
        {"files/a.exe", {base.file(s("a.txt"))}, "Error - this pgm can NOT add files to a self-extracting archive"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        dialogs.shown.clear();
        const QString archive = *c.archive ? base.file(s(c.archive)) : QString();
        add(archive, c.files);
        EXPECT_EQ(dialogs.shown, QStringList{s(c.message)});
        EXPECT_EQ(zip.FSpecArgs(), c.files);
        EXPECT_FALSE(QFile::exists(archive));
        EXPECT_FALSE(zip.ZipDllLoaded());
    }
}

TEST_F(ZipBuilder, LoadingShowsEveryMessageOfItsRules)
{
    struct Case
    {
        const char* what;
        QString dir;
        bool trace;
        QStringList shown;
        bool loaded;
    };
    const Case cases[] = {
        {"the project's libraries, quiet", s(QUILLET_BINARY_DIR), false, {}, true},
        {"the project's libraries, traced", s(QUILLET_BINARY_DIR), true,
            {s("ZIP library loaded"), s("UNZ library loaded")}, true},
        {"no libraries", base.path(), false, {s("libqzip.so not found"), s("libqunzip.so not found")}, false},
        {"libraries without entry points", s(BROKEN_LIBRARY_DIR), false,
            {s("ZipLibExec function not found in libqzip.so"), s("GetZipLibVersion function not found in libqzip.so"),
                s("UnzLibExec function not found in libqunzip.so"),
                s("GetZipLibVersion function not found in libqunzip.so")},
            true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TZipBuilder component;
        component.setLibraryDir(c.dir);
        component.setTrace(c.trace);
        dialogs.shown.clear();
        component.Load_Zip_Dll();
        component.Load_Unz_Dll();
        EXPECT_EQ(dialogs.shown, c.shown);
        EXPECT_EQ(component.ZipDllLoaded(), c.loaded);
        EXPECT_EQ(component.UnzDllLoaded(), c.loaded);
    }
}

TEST_F(ZipBuilder, AddWithoutALibraryShowsWhyAndAddsNothing)
{
    base.write(s("a.txt"), Text);
    for (const QString& dir : {base.path(), s(BROKEN_LIBRARY_DIR)}) {
        dialogs.shown.clear();
        zip.setLibraryDir(dir);
        add(base.file(s("files/a.zip")), {base.file(s("a.txt"))});
        EXPECT_FALSE(dialogs.shown.isEmpty());
        EXPECT_FALSE(QFile::exists(base.file(s("files/a.zip"))));
        EXPECT_TRUE(zip.FSpecArgs().isEmpty());
        EXPECT_FALSE(zip.ZipDllLoaded()); // released again: Add loaded it itself
    }
}

TEST_F(ZipBuilder, OptionsReachTheLibrary)
{
    struct Case
    {
        const char* what;
        TZipBuilder::AddOptionSet options;
        int level;
        QStringList names; // after adding sub/new.txt and sub/old.txt to an archive holding old.txt
        bool sourcesKept;
        int method;
    };
    using Z = TZipBuilder;
    const Case cases[] = {
        {"no options", {}, 9, {s("old.txt"), s("new.txt")}, true, 8},
        {"stored at level 0", {}, 0, {s("old.txt"), s("new.txt")}, true, 0},
        {"folder names kept", Z::AddDirNames, 9, {s("old.txt"), s("sub/new.txt"), s("sub/old.txt")}, true, 8},
        {"DOS names", Z::AddForceDOS, 9, {s("old.txt"), s("NEW.TXT"), s("OLD.TXT")}, true, 8},
        {"move", Z::AddMove, 9, {s("old.txt"), s("new.txt")}, false, 8},
        {"freshen: only entries there already", Z::AddFreshen, 9, {s("old.txt")}, true, 8},
        {"update: new entries too", Z::AddUpdate, 9, {s("old.txt"), s("new.txt")}, true, 8},
        // Update wins over freshen: the new file is added.
        {"update and freshen", Z::AddUpdate | Z::AddFreshen, 9, {s("old.txt"), s("new.txt")}, true, 8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempBase folder;
        folder.write(s("old.txt"), "old");
        const QString archive = folder.file(s("files/test.zip"));
        add(archive, {folder.file(s("old.txt"))});
        ASSERT_EQ(entryNames(zip), QStringList{s("old.txt")});
        // Newer than the archived entry by more than the zip time's 2-second grain.
        folder.write(s("sub/new.txt"), Text);
        folder.write(s("sub/old.txt"), Text);
        const QDateTime later = QDateTime::currentDateTime().addSecs(10);
        for (const char* name : {"sub/new.txt", "sub/old.txt"}) {
            QFile f(folder.file(s(name)));
            ASSERT_TRUE(f.open(QIODevice::ReadWrite));
            f.setFileTime(later, QFileDevice::FileModificationTime);
        }
        zip.setAddOptions(c.options);
        zip.setAddCompLevel(c.level);
        zip.FSpecArgs() = QStringList{folder.file(s("sub/new.txt"))};
        if (c.options.testFlag(Z::AddDirNames) || c.options.testFlag(Z::AddForceDOS))
            zip.FSpecArgs().append(folder.file(s("sub/old.txt")));
        zip.Add();
        zip.setAddOptions({});
        zip.setAddCompLevel(9);

        // Kept folder names are the whole path without its root.
        QStringList expected;
        for (const QString& name : c.names)
            expected.append(name.startsWith(s("sub/")) ? folder.path().mid(1) + QLatin1Char('/') + name : name);
        EXPECT_EQ(entryNames(zip), expected);
        EXPECT_EQ(QFile::exists(folder.file(s("sub/new.txt"))), c.sourcesKept);
        EXPECT_EQ(unzipTest(archive), 0);
        if (c.names.size() > 1) {
            EXPECT_EQ(zip.ZipContents()[1].method, c.method);
        }
    }
}

TEST_F(ZipBuilder, CancelLeavesTheArchiveAsItWas)
{
    base.write(s("a.txt"), Text);
    base.write(s("b.bin"), Binary);
    const QString archive = base.file(s("files/c.zip"));
    add(archive, {base.file(s("a.txt"))});
    const QByteArray before = base.read(s("files/c.zip"));

    // Cancelled at the first file, and cancelled while the archive is written.
    for (int type : {TZipBuilder::NewFile, TZipBuilder::ProgressUpdate}) {
        SCOPED_TRACE(type);
        const auto connection = QObject::connect(&zip, &TZipBuilder::OnProgress, [&](int t, const QString&, qint64) {
            if (t == type)
                zip.Cancel();
        });
        add(archive, {base.file(s("b.bin"))});
        QObject::disconnect(connection);
        EXPECT_LE(zip.SuccessCnt(), 0);
        EXPECT_EQ(base.read(s("files/c.zip")), before);
        EXPECT_EQ(entryNames(zip), QStringList{s("a.txt")});
    }
    EXPECT_EQ(QDir(base.file(s("files"))).entryList(QDir::Files), QStringList{s("c.zip")});
    // The cancel flag does not outlive the operation.
    add(archive, {base.file(s("b.bin"))});
    EXPECT_EQ(entryNames(zip), (QStringList{s("a.txt"), s("b.bin")}));
}

TEST_F(ZipBuilder, LibraryMessagesArriveWithoutTrailingLineBreaks)
{
    base.write(s("a.txt"), Text);
    add(base.file(s("files/m.zip")), {base.file(s("a.txt")), base.file(s("missing.txt"))});
    EXPECT_EQ(zip.SuccessCnt(), 1);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages[0], QStringLiteral("2|File not found: %1").arg(base.file(s("missing.txt"))));
}

TEST_F(ZipBuilder, ArchiveNamesThatDoNotFitTheirBufferAreRefused)
{
    base.write(s("a.txt"), Text);
    const QString longName = base.file(QString(260, QLatin1Char('n')) + s(".zip"));
    add(longName, {base.file(s("a.txt"))});
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_TRUE(dialogs.shown[0].startsWith(s("Error - file name too long: ")));
    EXPECT_TRUE(zip.FSpecArgs().isEmpty());
}

TEST_F(ZipBuilder, ReadingTheEntryListOfDamagedFiles)
{
    base.write(s("files/zeros.zip"), QByteArray(60001, '\0'));
    base.write(s("files/cut.zip"), QByteArray("PK\3\4") + QByteArray(10, '\0'));
    struct Case
    {
        const char* file;
        QStringList shown;
        const char* raised;
    };
    const Case cases[] = {
        {"files/absent.zip", {}, ""},
        {"files/zeros.zip", {s("No valid zip entries found")}, ""},
        {"files/cut.zip", {}, "Error 2 reading Zip file"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        dialogs.shown.clear();
        dirUpdates = 0;
        QString raised;
        try {
            zip.setZipFilename(base.file(s(c.file)));
        } catch (const QuilletError& e) {
            raised = e.message();
        }
        EXPECT_EQ(raised, s(c.raised));
        EXPECT_EQ(dialogs.shown, c.shown);
        EXPECT_EQ(zip.Count(), 0);
        EXPECT_EQ(dirUpdates, 1);
    }
}

} // namespace
