#pragma once

#include "net/CIPPortMsg.h"
#include "net/HttpPort.h"

#include <QByteArray>

#include <functional>
#include <vector>

#include <sys/socket.h>
#include <unistd.h>

// A port connected to a local socket pair: the test writes to the other end and runs delivery
// the way a read notification would, so every receive is exactly one chunk the test chose.
template <typename Base>
class PairPortT : public Base
{
public:
    template <typename... Args>
    explicit PairPortT(Args&&... args)
        : Base(std::forward<Args>(args)...)
    {
        int fds[2] = {-1, -1};
        if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, fds) == 0) {
            this->adoptSocket(fds[0]);
            m_peer = fds[1];
        }
    }
    ~PairPortT() override
    {
        if (m_peer >= 0)
            ::close(m_peer);
    }

    int peer() const { return m_peer; }
    // One receive's worth of bytes, delivered at once.
    void feed(const QByteArray& chunk)
    {
        writePeer(chunk);
        this->deliverData();
    }
    void writePeer(const QByteArray& bytes)
    {
        qsizetype done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::write(m_peer, bytes.constData() + done, size_t(bytes.size() - done));
            if (n <= 0)
                break;
            done += n;
        }
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

// Records what the port delivers.
class RecordingPort : public PairPortT<CIPPortMsg>
{
public:
    struct Piece
    {
        QByteArray data;
        bool delimited;
        bool operator==(const Piece&) const = default;
    };

    RecordingPort() { setStopAfterOneLine(false); }

    std::vector<Piece> pieces;
    std::vector<int> disconnects;
    std::function<void(const QByteArray&, bool)> onData;

protected:
    void onDataIn(const QByteArray& data, bool delimited) override
    {
        CIPPortMsg::onDataIn(data, delimited);
        pieces.push_back({data, delimited});
        if (onData)
            onData(data, delimited);
    }
    void onDisconnected(int error) override
    {
        CIPPortMsg::onDisconnected(error);
        disconnects.push_back(error);
    }
};
