#pragma once

#include <QByteArray>

#include <cstdio>
#include <cstdlib>
#include <utility>

#include <sys/socket.h>
#include <unistd.h>

// A port connected to a local socket pair: the caller writes to the other end and runs delivery
// the way a read notification would, so every receive is exactly one chunk the caller chose.
// Shared by the network tests and the fuzz harness.
template <typename Base>
class SocketPairPort : public Base
{
public:
    template <typename... Args>
    explicit SocketPairPort(Args&&... args)
        : Base(std::forward<Args>(args)...)
    {
        int fds[2] = {-1, -1};
        if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, fds) != 0) {
            std::perror("socketpair");
            std::abort();
        }
        this->adoptSocket(fds[0]);
        m_peer = fds[1];
    }
    ~SocketPairPort() override
    {
        if (m_peer >= 0)
            ::close(m_peer);
    }

    // One receive's worth of bytes, delivered at once. A port that closed its end (on a reply it
    // refused) takes no more: the writing stops there instead of raising SIGPIPE.
    void feed(const QByteArray& chunk)
    {
        qsizetype done = 0;
        while (done < chunk.size()) {
            const ssize_t n = ::send(m_peer, chunk.constData() + done, size_t(chunk.size() - done), MSG_NOSIGNAL);
            if (n <= 0)
                break;
            done += n;
        }
        this->deliverData();
    }
    // The other end goes away; delivery sees the end of the stream and closes the port.
    void closePeer()
    {
        ::close(m_peer);
        m_peer = -1;
        this->deliverData();
    }
    using Base::deliverData;

private:
    int m_peer = -1;
};
