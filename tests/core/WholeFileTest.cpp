#include "core/WholeFile.h"

#include "support/TempBase.h"

#include <QFile>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

ino_t inodeOf(const QString& path)
{
    struct stat s
    {
    };
    return ::stat(QFile::encodeName(path).constData(), &s) == 0 ? s.st_ino : 0;
}

} // namespace

// A save of the bytes a file holds leaves that file in place; any other save replaces it, and a
// file that may not be written is refused either way.
TEST(WholeFile, UnchangedFileStaysAndOthersAreReplacedOrRefused)
{
    struct Case
    {
        const char* name;
        QByteArray before; // empty: no file
        QByteArray content;
        bool readOnly;
        bool written;
        bool sameFile;
    };
    const Case cases[] = {
        {"same bytes", "a=1\r\n", "a=1\r\n", false, true, true},
        {"same length, other bytes", "a=1\r\n", "a=2\r\n", false, true, false},
        {"longer", "a=1\r\n", "a=1\r\nb=2\r\n", false, true, false},
        {"no file yet", "", "a=1\r\n", false, true, false},
        {"read-only, same bytes", "a=1\r\n", "a=1\r\n", true, false, true},
    };
    for (const Case& c : cases) {
        TempBase base;
        const QString path = base.file(QStringLiteral("data/x.dat"));
        if (!c.before.isEmpty()) {
            base.write(QStringLiteral("data/x.dat"), c.before);
            if (c.readOnly)
                QFile::setPermissions(path, QFileDevice::ReadOwner);
        }
        const ino_t before = inodeOf(path);
        EXPECT_EQ(writeFileWholeIfChanged(path, c.content), c.written) << c.name;
        EXPECT_EQ(base.read(QStringLiteral("data/x.dat")), c.written ? c.content : c.before) << c.name;
        EXPECT_EQ(inodeOf(path) == before, c.sameFile) << c.name;
    }
}
