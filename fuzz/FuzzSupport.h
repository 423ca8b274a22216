// What the fuzz targets share: a failure that stops the run, a port fed through a real socket
// pair, and the input layout of the port targets that cuts the byte stream into pieces.
#pragma once

#include <QByteArray>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <utility>
#include <vector>

#include <sys/socket.h>
#include <unistd.h>

// Reports a broken property, named after the fuzz target, and aborts so libFuzzer keeps the input.
[[noreturn]] inline void fail(const char* what)
{
    fprintf(stderr, "%s: %s\n", program_invocation_short_name, what);
    abort();
}

// A port connected to a socket pair whose other end the harness writes: each feed() is one
// receive on the port's side.
template <typename Base>
class Paired : public Base
{
public:
    template <typename... Args>
    explicit Paired(Args&&... args)
        : Base(std::forward<Args>(args)...)
    {
        int fds[2];
        if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, fds) != 0)
            fail("socketpair");
        this->adoptSocket(fds[0]);
        m_peer = fds[1];
    }
    ~Paired() override
    {
        if (m_peer >= 0)
            close(m_peer);
    }
    void feed(const QByteArray& chunk)
    {
        qsizetype done = 0;
        while (done < chunk.size()) {
            // The port may have closed its end on a reply it refused: that ends the feeding, not
            // the fuzzer (a plain write would raise SIGPIPE and kill it).
            const ssize_t n
                = ::send(m_peer, chunk.constData() + done, size_t(chunk.size() - done), MSG_NOSIGNAL);
            if (n < 0 && (errno == EPIPE || errno == ECONNRESET))
                return;
            if (n <= 0)
                fail("write");
            done += n;
        }
        this->deliverData();
    }
    void finish()
    {
        close(m_peer);
        m_peer = -1;
        this->deliverData();
    }

private:
    int m_peer = -1;
};

// The port targets' input: byte 0 holds the target's own switches (bit 7 makes the cut lengths
// 64 times larger), bytes 1..8 give up to 8 cut lengths (0 = no cut), the rest is the stream.
struct CutInput
{
    uint8_t switches = 0;
    QByteArray stream;
    std::vector<QByteArray> chunks; // stream, cut where the lengths say
};

inline std::optional<CutInput> cutInput(const uint8_t* data, size_t size)
{
    if (size < 9)
        return std::nullopt;
    CutInput input;
    input.switches = data[0];
    input.stream = QByteArray(reinterpret_cast<const char*>(data + 9), qsizetype(size - 9));
    qsizetype from = 0;
    for (size_t i = 1; i < 9; ++i) {
        if (data[i] == 0)
            continue;
        if (from >= input.stream.size())
            break;
        const int length = data[i] * (data[0] & 0x80 ? 64 : 1);
        input.chunks.push_back(input.stream.mid(from, length));
        from += length;
    }
    if (from < input.stream.size())
        input.chunks.push_back(input.stream.mid(from));
    return input;
}
