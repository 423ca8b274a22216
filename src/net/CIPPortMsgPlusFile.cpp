#include "net/CIPPortMsgPlusFile.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

namespace {

QString systemMessage(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// Holds a partial segment back until a full one can go, for the time of a file transfer: a
// block's tail leaves no small segment behind it. Only with the kernel's own buffer sizes:
// a corked socket with a tiny send buffer stalls for the kernel's cork timeout on every segment.
class Cork
{
public:
    Cork(int fd, bool wanted)
        : m_fd(fd)
    {
        const int on = 1;
        m_on = wanted && setsockopt(fd, IPPROTO_TCP, TCP_CORK, &on, sizeof on) == 0;
    }
    ~Cork()
    {
        const int off = 0;
        if (m_on)
            setsockopt(m_fd, IPPROTO_TCP, TCP_CORK, &off, sizeof off);
    }

private:
    int m_fd;
    bool m_on = false;
};

} // namespace

CIPPortMsgPlusFile::CIPPortMsgPlusFile(QObject* parent)
    : CIPPortMsg(parent)
{
}

int CIPPortMsgPlusFile::sendFile(const QString& fileName, qint64 length)
{
    const int fd = ::open(QFile::encodeName(fileName).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        setResult(NetResult::of(NetResult::Kind::File, error, systemMessage(error)));
        return error;
    }
    struct Closer
    {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};

    const Cork cork(socketHandle(), sendBufferSize() == 0);
    std::vector<char> buffer(FileBlockSize);
    char* const block = buffer.data();
    const qint64 blockSize = FileBlockSize;
    qint64 total = 0;
    for (;;) {
        qint64 wanted = blockSize;
        if (length >= 0)
            wanted = std::min(wanted, length - total);
        if (wanted == 0)
            break;
        const ssize_t count = ::read(fd, block, size_t(wanted));
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0 || (count == 0 && length >= 0)) {
            // A read error, or the file ended before the length the peer was promised.
            const int error = count < 0 ? errno : EIO;
            setResult(NetResult::of(NetResult::Kind::File, error, systemMessage(error)));
            return error;
        }
        if (count == 0)
            break;
        if (const int result = sendAll(block, count))
            return result;
        total += count;
        if (const int hook = sendProgress(total)) {
            setResult(hook, QString());
            return hook;
        }
    }
    setResult(0, QString());
    return 0;
}
