#include "core/FileCopy.h"
#include "support/TempBase.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {

// Sizes around the block size come out byte for byte, with the source's permissions.
TEST(FileCopy, CopiesEveryByteAndThePermissions)
{
    TempBase base;
    for (const qint64 size : {qint64(0), qint64(1), FileCopyBlockSize, 2 * FileCopyBlockSize + 7}) {
        SCOPED_TRACE(size);
        QByteArray content(size, Qt::Uninitialized);
        for (qint64 i = 0; i < size; ++i)
            content[i] = char(i * 7 ^ i >> 11);
        base.write(QStringLiteral("files/source.zip"), content);
        const QString source = base.file(QStringLiteral("files/source.zip"));
        const QString target = base.file(QStringLiteral("files/copy.zip"));
        QFile::setPermissions(source, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadOther);
        ASSERT_TRUE(copyFileInBlocks(source, target));
        EXPECT_TRUE(base.read(QStringLiteral("files/copy.zip")) == content);
        EXPECT_EQ(QFile::permissions(target), QFile::permissions(source));
        QFile::remove(target);
    }
}

// An existing target is left alone, and a failed copy leaves nothing behind.
TEST(FileCopy, RefusesWithoutHarm)
{
    TempBase base;
    base.write(QStringLiteral("files/a"), "new");
    base.write(QStringLiteral("files/b"), "kept");
    EXPECT_FALSE(copyFileInBlocks(base.file(QStringLiteral("files/a")), base.file(QStringLiteral("files/b"))));
    EXPECT_EQ(base.read(QStringLiteral("files/b")), QByteArray("kept"));
    EXPECT_FALSE(copyFileInBlocks(base.file(QStringLiteral("files/missing")), base.file(QStringLiteral("files/c"))));
    EXPECT_FALSE(QFile::exists(base.file(QStringLiteral("files/c"))));
    EXPECT_FALSE(copyFileInBlocks(base.file(QStringLiteral("files")), base.file(QStringLiteral("files/d"))));
    EXPECT_FALSE(QFile::exists(base.file(QStringLiteral("files/d"))));
}

} // namespace
