#include "core/FileCopy.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

bool copyAll(int in, int out)
{
    std::vector<char> block(FileCopyBlockSize);
    for (;;) {
        const ssize_t count = ::read(in, block.data(), block.size());
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            return count == 0;
        for (ssize_t done = 0; done < count;) {
            const ssize_t written = ::write(out, block.data() + done, size_t(count - done));
            if (written < 0 && errno == EINTR)
                continue;
            if (written <= 0)
                return false;
            done += written;
        }
    }
}

} // namespace

bool copyFileInBlocks(const QString& from, const QString& to)
{
    const QByteArray source = QFile::encodeName(from), target = QFile::encodeName(to);
    const int in = ::open(source.constData(), O_RDONLY | O_CLOEXEC);
    if (in < 0)
        return false;
    struct stat info
    {
    };
    if (::fstat(in, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(in);
        return false;
    }
    const int out = ::open(target.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, info.st_mode & 07777);
    if (out < 0) {
        ::close(in);
        return false;
    }
    // The copy gets the source's permissions whatever the umask says, as a file copy does.
    bool ok = ::fchmod(out, info.st_mode & 07777) == 0 && copyAll(in, out);
    ok = ::close(out) == 0 && ok;
    ::close(in);
    if (!ok)
        ::unlink(target.constData());
    return ok;
}
