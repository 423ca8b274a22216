// The built program itself: what it carries inside, its command line and its first run.
#include "ProgramBase.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
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

TEST(Executable, CarriesTheGuideAndPutsItWhereTheBrowserCanOpenIt)
{
    TempBase base;
    const QString guide = base.file(s("cache/Quillet/Quillet.html"));
    ASSERT_TRUE(windowWrites(base.path(), guide));
    QFile file(guide);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().contains("Getting started"));
}

} // namespace
