// The built program itself: what it carries inside, its command line and its first run.
#include "ProgramBase.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

namespace {

QString s(const char* text)
{
    return QString::fromUtf8(text);
}

// Starts the window on an off-screen display and stops it once the file appears (or a generous
// guard has passed); returns whether it appeared.
bool windowWrites(const QString& folder, const QString& file, const QStringList& args = {})
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(s("QT_QPA_PLATFORM"), s("offscreen"));
    env.insert(s("XDG_CACHE_HOME"), folder + s("/cache"));
    env.insert(s("XDG_RUNTIME_DIR"), folder);
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(folder);
    process.start(s(QUILLET_BINARY_DIR "/quillet"), args);
    QDeadlineTimer guard(60000);
    bool appeared = false;
    while (!appeared && !guard.hasExpired() && process.state() != QProcess::NotRunning) {
        QThread::msleep(50);
        appeared = QFile::exists(file);
    }
    process.kill();
    process.waitForFinished();
    return appeared;
}

// A submission from the command line needs no widget, font or display library: the executable
// links none of them, and the window comes from its module.
TEST(Executable, LinksNoWidgetLibraryAndLoadsTheWindowAsAModule)
{
    QProcess readelf;
    readelf.start(s("readelf"), {s("--dynamic"), s(QUILLET_BINARY_DIR "/quillet")});
    ASSERT_TRUE(readelf.waitForFinished(30000));
    const QString dynamic = QString::fromLocal8Bit(readelf.readAllStandardOutput());
    ASSERT_TRUE(dynamic.contains(s("libQt6Core"))) << dynamic.toStdString();
    for (const char* library : {"libQt6Gui", "libQt6Widgets", "libQt6PrintSupport"})
        EXPECT_FALSE(dynamic.contains(s(library))) << library;
    EXPECT_TRUE(QFile::exists(s(QUILLET_BINARY_DIR "/libquillet_window.so")));

    // Without its module the executable still submits, and says what is missing for the rest.
    QTemporaryDir alone;
    const QString copy = alone.filePath(s("quillet"));
    ASSERT_TRUE(QFile::copy(s(QUILLET_BINARY_DIR "/quillet"), copy));
    const BatchResult window = runQuillet(alone.path(), {s("--version")}, copy);
    EXPECT_EQ(window.exitCode, 1);
    EXPECT_TRUE(window.err.contains(s("cannot load its window module"))) << window.err.toStdString();
    const BatchResult submit = runQuillet(alone.path(), {s("--submit"), s("NoteStack")}, copy);
    EXPECT_EQ(submit.exitCode, 2);
    EXPECT_TRUE(submit.err.contains(s("--setup"))) << submit.err.toStdString();
}

TEST(Executable, CarriesTheGuideAndPutsItWhereTheBrowserCanOpenIt)
{
    TempBase base;
    const QString guide = base.file(s("cache/Quillet/Quillet.html"));
    ASSERT_TRUE(windowWrites(base.path(), guide));
    QFile file(guide);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().contains("Getting started"));
}

TEST(Executable, SetsUpAnEmptyBaseFolderOnlyWhenAsked)
{
    TempBase elsewhere;
    QTemporaryDir empty;
    const QString dir = empty.path();

    const BatchResult refused = runQuillet(elsewhere.path(), {s("--base"), dir, s("--submit"), s("NoteStack")});
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_TRUE(refused.err.contains(s("--setup"))) << refused.err.toStdString();
    EXPECT_TRUE(QDir(dir).isEmpty());

    QDir(dir).mkdir(s("cat"));
    QFile own(dir + s("/cat/tucows.cat"));
    ASSERT_TRUE(own.open(QIODevice::WriteOnly));
    own.write("My own list\r\n");
    own.close();

    const BatchResult setUp = runQuillet(elsewhere.path(), {s("--base"), dir, s("--setup")});
    EXPECT_EQ(setUp.exitCode, 0) << setUp.err.toStdString();
    for (const char* sub : {"cat", "data", "files", "responses"})
        EXPECT_TRUE(QDir(dir).exists(s(sub))) << sub;
    const QDir shipped(s(QUILLET_SOURCE_DIR "/sample/cat"));
    const QStringList names = shipped.entryList(QDir::Files);
    for (const QString& name : names) {
        QFile original(shipped.filePath(name));
        QFile copy(dir + s("/cat/") + name);
        ASSERT_TRUE(original.open(QIODevice::ReadOnly) && copy.open(QIODevice::ReadOnly)) << name.toStdString();
        if (name == s("tucows.cat"))
            EXPECT_EQ(copy.readAll(), QByteArray("My own list\r\n"));
        else
            EXPECT_EQ(copy.readAll(), original.readAll()) << name.toStdString();
    }

    // A base folder that does not exist yet is made first; a submission never makes one.
    const QString fresh = dir + s("/not/yet");
    EXPECT_EQ(runQuillet(elsewhere.path(), {s("--base"), fresh, s("--submit"), s("X")}).exitCode, 2);
    EXPECT_FALSE(QDir(fresh).exists());
    const BatchResult made = runQuillet(elsewhere.path(), {s("--base"), fresh, s("--setup")});
    EXPECT_EQ(made.exitCode, 0) << made.err.toStdString();
    EXPECT_TRUE(QDir(fresh + s("/data")).exists());
}

// A wrong command line is refused before anything else, in one line that says why and where to look;
// options of a submission are refused without one rather than ignored.
TEST(Executable, CommandLineIsCheckedBeforeAnythingElse)
{
    TempBase base;
    const struct
    {
        QStringList args;
        const char* says;
    } refused[] = {
        {{s("--frobnicate")}, "Unknown option: --frobnicate"},
        {{s("stray")}, "Unexpected argument: stray"},
        {{s("--report"), s("r.json")}, "--report goes with --submit"},
        {{s("--timeout"), s("5")}, "--timeout goes with --submit or --check-endpoints"},
        {{s("--check-endpoints"), s("--dry-run"), s("out")}, "--dry-run goes with --submit"},
        {{s("--dry-run"), s("out")}, "--dry-run goes with --submit"},
        {{s("--retry-failed"), s("r.json")}, "--retry-failed goes with --submit"},
        {{s("--check"), s("X"), s("--force")}, "--force goes with --submit or --import-pad"},
        {{s("--quiet")}, "--quiet goes with --submit"},
    };
    for (const auto& c : refused) {
        const BatchResult r = runQuilletAsTyped(base.path(), c.args);
        EXPECT_EQ(r.exitCode, 2) << c.says;
        EXPECT_EQ(r.err, s(c.says) + s(". See quillet --help.\n")) << r.err.toStdString();
    }

    const BatchResult version = runQuillet(base.path(), {s("--version")});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, QStringList{s("Quillet 1.20b")});
}

TEST(Executable, SubmitTakesOnlyAListedProgram)
{
    TempBase base;
    const QByteArray company = "[COMPANY]\r\nCONAME=Larkspur\r\n";
    base.write(s("data/companies.dat"), "Larkspur\r\n");
    base.write(s("data/Larkspur.dat"), company);
    base.write(s("data/apps.dat"), "NoteStack\r\n");

    const BatchResult result = runQuillet(base.path(), {s("--submit"), s("Larkspur")});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_TRUE(result.err.contains(s("No program named \"Larkspur\""))) << result.err.toStdString();
    EXPECT_EQ(base.read(s("data/Larkspur.dat")), company);
    EXPECT_EQ(base.read(s("data/apps.dat")), QByteArray("NoteStack\r\n"));

    // A name that differs only in case is offered, in the one line standard error gets (no notes of
    // Qt's about a missing desktop session).
    base.write(s("data/NoteStack.dat"), "[APPINFO]\r\n");
    const BatchResult lower = runQuillet(base.path(), {s("--submit"), s("notestack")});
    EXPECT_EQ(lower.exitCode, 2);
    EXPECT_EQ(lower.err,
        s("No program named \"notestack\" in %1/data/apps.dat (did you mean \"NoteStack\"?)\n").arg(base.path()));
}

} // namespace
