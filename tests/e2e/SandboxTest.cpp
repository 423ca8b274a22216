// tools/sandbox: what it does to a base folder's settings, and what "stop" leaves there.
#include "support/TempBase.h"
#include "support/Text.h"

#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

namespace {

void sandbox(const TempBase& dir, const QStringList& args)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(s("QUILLET_SANDBOX_DIR"), dir.file(s("state")));
    process.setProcessEnvironment(env);
    process.start(s(QUILLET_SOURCE_DIR "/tools/sandbox"), args);
    ASSERT_TRUE(process.waitForFinished(60000));
    ASSERT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
}

// Settings typed while the sandbox ran stay; what it set goes back to what was there.
TEST(Sandbox, StopPutsBackOnlyTheSettingsItSet)
{
    struct Case
    {
        const char* before; // nullptr: no settings file
        const char* typedWhileRunning; // replaces the sender's line
        const char* after; // nullptr: no settings file
    };
    const Case cases[] = {
        {"[SETTINGS]\r\nSMTP=mail.example.org\r\nEMAIL=\r\nPROXY=none\r\n", "EMAIL=typed@author.example",
            "[SETTINGS]\r\nSMTP=mail.example.org\r\nEMAIL=typed@author.example\r\nPROXY=none\r\n"},
        {"[SETTINGS]\r\nSMTP=mail.example.org\r\nEMAIL=jo@author.example\r\n", nullptr,
            "[SETTINGS]\r\nSMTP=mail.example.org\r\nEMAIL=jo@author.example\r\n"},
        {nullptr, nullptr, nullptr},
    };
    for (const Case& c : cases) {
        TempBase dir;
        const QString settings = dir.file(s("base/cat/settings.dat"));
        dir.write(s("base/cat/sites.dat"), "");
        if (c.before)
            dir.write(s("base/cat/settings.dat"), c.before);
        sandbox(dir, {s("start"), s("--base"), dir.file(s("base")), s("--lifetime"), s("30")});
        if (c.typedWhileRunning) {
            QByteArray now = dir.read(s("base/cat/settings.dat"));
            now.replace("EMAIL=author@sample.example", c.typedWhileRunning);
            dir.write(s("base/cat/settings.dat"), now);
        }
        sandbox(dir, {s("stop")});
        EXPECT_EQ(QFile::exists(settings), c.after != nullptr);
        if (c.after) {
            EXPECT_EQ(dir.read(s("base/cat/settings.dat")), QByteArray(c.after));
        }
    }
}

} // namespace
