#include "core/WholeFile.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool writeAll(int fd, const QByteArray& content)
{
    const char* data = content.constData();
    qsizetype left = content.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, data, size_t(left));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        left -= n;
    }
    return true;
}

// Whether the file may be written: its folder takes files, and an existing one is a writable file.
bool mayReplace(const QFileInfo& info)
{
    const QFileInfo folder(info.absolutePath());
    if (!folder.isDir() || !(folder.permissions() & QFileDevice::WriteOwner))
        return false;
    return !info.exists() || (!info.isDir() && (info.permissions() & QFileDevice::WriteOwner));
}

bool holdsAlready(const QString& path, const QByteArray& content)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.isSequential() || file.size() != content.size())
        return false;
    return file.readAll() == content;
}

// Writes a temporary file beside the target and renames it into place; mayReplace() has said yes.
bool replaceWhole(const QFileInfo& info, const QByteArray& content)
{
    const QByteArray target = QFile::encodeName(info.absoluteFilePath());
    struct stat existing
    {
    };
    const bool hadFile = ::stat(target.constData(), &existing) == 0;

    for (int attempt = 0; attempt < 8; ++attempt) {
        const QByteArray temp = QFile::encodeName(info.absolutePath()) + "/.quillet-"
            + QByteArray::number(QRandomGenerator::global()->generate64(), 36) + ".tmp";
        const int fd = ::open(temp.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0) {
            if (errno == EEXIST)
                continue;
            return false;
        }
        bool ok = (!hadFile || ::fchmod(fd, existing.st_mode & 07777) == 0) && writeAll(fd, content)
            && ::fdatasync(fd) == 0;
        ok = ::close(fd) == 0 && ok;
        if (ok && std::rename(temp.constData(), target.constData()) == 0)
            return true;
        ::unlink(temp.constData());
        return false;
    }
    return false;
}

} // namespace

bool writeFileWhole(const QString& path, const QByteArray& content)
{
    const QFileInfo info(path);
    return mayReplace(info) && replaceWhole(info, content);
}

bool writeFileWholeIfChanged(const QString& path, const QByteArray& content)
{
    const QFileInfo info(path);
    return mayReplace(info) && (holdsAlready(path, content) || replaceWhole(info, content));
}
