#include "PairPort.h"

#include "core/Errors.h"
#include "net/CIPPortMsgPlusFile.h"
#include "net/CListeningSocket.h"
#include "net/NetworkWait.h"

#include "support/TempBase.h"

#include <QCoreApplication>
#include <QTimer>

#include <gtest/gtest.h>

#include <arpa/inet.h>

namespace {

// The far end of a test connection, in this process: accepts one connection and keeps what
// arrives.
class Server : public CListeningSocket
{
public:
    Server()
    {
        winsock().setLoaded(true);
        setEol(QByteArray());
    }

    bool accepted = false;
    QByteArray received;
    std::vector<int> disconnects;
    std::function<void()> onReceived;

protected:
    void onAccepted() override { accepted = true; }
    void onDataIn(const QByteArray& data, bool) override
    {
        received += data;
        if (onReceived)
            onReceived();
    }
    void onDisconnected(int error) override { disconnects.push_back(error); }
};

class Client : public CIPPortMsgPlusFile
{
public:
    Client()
    {
        winsock().setLoaded(true);
        setRemoteAddress(htonl(INADDR_LOOPBACK));
    }

    std::vector<qint64> progress;
    int failAfterBlocks = -1;

protected:
    int sendProgress(qint64 sentSoFar) override
    {
        progress.push_back(sentSoFar);
        return failAfterBlocks >= 0 && int(progress.size()) > failAfterBlocks ? 999 : 0;
    }
};

// Turns the event loop until done() holds; the safety limit only turns a fault into a failure.
template <typename F>
bool pumpUntil(F done)
{
    NetworkWait guard;
    QTimer limit;
    limit.setSingleShot(true);
    QObject::connect(&limit, &QTimer::timeout, [] { interruptNetworkWaits(); });
    limit.start(30000);
    while (!done() && !guard.interrupted())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return done();
}

class PortWait : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // A hung wait fails the test instead of hanging it; passing never depends on this.
        watchdog.setSingleShot(true);
        QObject::connect(&watchdog, &QTimer::timeout, [] { interruptNetworkWaits(); });
        watchdog.start(30000);
        ASSERT_EQ(server.listen(), 0);
        ASSERT_NE(server.listeningPort(), 0);
        client.setRemotePort(server.listeningPort());
        ASSERT_EQ(client.connectAndWait(), 0);
        ASSERT_TRUE(pumpUntil([this] { return server.accepted; }));
        EXPECT_FALSE(server.isListening());
        client.setEol("\r\n", CIPPort::DelimiterMode::AnyChar);
    }

    QTimer watchdog;
    Server server;
    Client client;
};

TEST_F(PortWait, OneReplyLinePerWait)
{
    ASSERT_EQ(server.send("220-first\r\n220-second\r\n220 last"), 0);
    ASSERT_EQ(client.waitForReply(), 0);
    EXPECT_EQ(client.replyBuffer(), QByteArray("220-first"));
    // The later lines wait in the connection until asked for.
    EXPECT_FALSE(client.acceptData());
    ASSERT_EQ(client.waitForReply(), 0);
    EXPECT_EQ(client.replyBuffer(), QByteArray("220-second"));

    // The last line is completed by the command's answer; the reply buffer keeps 1024 bytes.
    ASSERT_EQ(server.send(" ok\r\n" + QByteArray(3000, 'x') + "\r\n"), 0);
    ASSERT_EQ(client.waitForReply(), 0);
    EXPECT_EQ(client.replyBuffer(), QByteArray("220 last ok"));
    ASSERT_EQ(client.waitForReply(), 0);
    EXPECT_EQ(client.replyBuffer(), QByteArray(1024, 'x'));

    // A close while a reply is awaited ends the wait as interrupted.
    QTimer::singleShot(0, &server, [this] { server.disconnectSocket(0); });
    EXPECT_EQ(client.waitForReply(), 301);
    EXPECT_FALSE(client.hasSocket());
}

// Lines left unread by the one-line-per-wait rule do not keep a wait for the close from ending.
TEST_F(PortWait, CloseIsSeenPastUnreadLines)
{
    ASSERT_EQ(server.send("221-Goodbye\r\n221-more\r\n221 end\r\n"), 0);
    ASSERT_EQ(client.waitForReply(), 0);
    server.disconnectSocket(0);
    EXPECT_EQ(client.waitForDisconnect(), 0);
    EXPECT_FALSE(client.hasSocket());
}

// A line that came in just before the close and was never asked for is not the next
// connection's first reply.
TEST_F(PortWait, UnreadReplyDoesNotOutliveItsConnection)
{
    ASSERT_EQ(server.send("421 Closing\r\n"), 0);
    server.disconnectSocket(0);
    EXPECT_EQ(client.waitForDisconnect(), 0);

    Server next;
    ASSERT_EQ(next.listen(), 0);
    client.setRemotePort(next.listeningPort());
    ASSERT_EQ(client.connectAndWait(), 0);
    ASSERT_TRUE(pumpUntil([&] { return next.accepted; }));
    ASSERT_EQ(next.send("220 Ready\r\n"), 0);
    ASSERT_EQ(client.waitForReply(), 0);
    EXPECT_EQ(client.replyBuffer(), QByteArray("220 Ready"));
}

TEST_F(PortWait, SendAndWaitForTheAnswer)
{
    server.onReceived = [this] {
        if (server.received.endsWith("\r\n"))
            server.send("331 Password required\r\n");
    };
    ASSERT_EQ(client.sendAll("USER anonymous\r\n"), 0);
    ASSERT_EQ(client.waitForReply(), 0);
    EXPECT_EQ(server.received, QByteArray("USER anonymous\r\n"));
    EXPECT_EQ(client.replyBuffer(), QByteArray("331 Password required"));
}

TEST_F(PortWait, InterruptEndsTheWaitAndOnlyThatWait)
{
    QTimer::singleShot(0, &client, [this] { client.interrupt(); });
    EXPECT_EQ(client.waitForReply(), 301);
    // Nothing is left over to end the next wait early.
    client.interrupt();
    server.send("200 fine\r\n");
    EXPECT_EQ(client.waitForReply(), 0);
    EXPECT_EQ(client.replyBuffer(), QByteArray("200 fine"));
}

TEST_F(PortWait, SendAllDeliversEverythingThroughAFullSocket)
{
    QByteArray data(16 * 1024 * 1024, Qt::Uninitialized);
    for (qsizetype i = 0; i < data.size(); ++i)
        data[i] = char(i * 131 % 251);
    ASSERT_EQ(client.sendAll(data), 0);
    client.disconnectSocket(0);
    ASSERT_TRUE(pumpUntil([this] { return !server.disconnects.empty(); }));
    EXPECT_EQ(server.received.size(), data.size());
    EXPECT_TRUE(server.received == data);
    // The socket filled up at least once, and progress only grew.
    ASSERT_FALSE(client.progress.empty());
    EXPECT_TRUE(std::is_sorted(client.progress.begin(), client.progress.end()));
}

TEST_F(PortWait, SendFileInBlocks)
{
    TempBase base;
    const qint64 block = CIPPortMsgPlusFile::FileBlockSize;
    QByteArray content(2 * block + 904, 'f');
    content += "end";
    base.write(QStringLiteral("files/a.bin"), content);
    const QString path = base.file(QStringLiteral("files/a.bin"));

    ASSERT_EQ(client.sendFile(path), 0);
    EXPECT_EQ(client.progress, (std::vector<qint64>{block, 2 * block, content.size()}));

    // Exactly the announced length: cut when the file is longer, an error when it is shorter.
    client.progress.clear();
    ASSERT_EQ(client.sendFile(path, 100), 0);
    EXPECT_EQ(client.progress, std::vector<qint64>{100});
    EXPECT_EQ(client.sendFile(path, content.size() + 1000), EIO);
    EXPECT_FALSE(client.lastResultDescription().isEmpty());

    // The per-block hook can stop the transfer.
    client.failAfterBlocks = 0;
    client.progress.clear();
    EXPECT_EQ(client.sendFile(path), 999);
    EXPECT_EQ(client.progress.size(), 1u);

    EXPECT_EQ(client.sendFile(base.file(QStringLiteral("files/none.bin"))), ENOENT);
    EXPECT_EQ(client.lastResultDescription(), QString::fromLocal8Bit(strerror(ENOENT)));

    client.disconnectSocket(0);
    ASSERT_TRUE(pumpUntil([this] { return !server.disconnects.empty(); }));
    EXPECT_EQ(server.received, content + content.left(100) + content + content.left(block));
}

TEST_F(PortWait, HandlerErrorIsRaisedByTheWait)
{
    struct Failing : Client
    {
        void onDataIn(const QByteArray& data, bool delimited) override
        {
            Client::onDataIn(data, delimited);
            throw QuilletError(QStringLiteral("bad reply"));
        }
    };
    Failing failing;
    Server other;
    ASSERT_EQ(other.listen(), 0);
    failing.setRemotePort(other.listeningPort());
    ASSERT_EQ(failing.connectAndWait(), 0);
    ASSERT_TRUE(pumpUntil([&] { return other.accepted; }));
    other.send("line\r\n");
    failing.setEol("\r\n", CIPPort::DelimiterMode::AnyChar);
    try {
        failing.waitForReply();
        ADD_FAILURE() << "no error";
    } catch (const QuilletError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("bad reply"));
    }
    EXPECT_FALSE(failing.isWaiting());
}

TEST(PortState, RefusalsAndPreconditions)
{
    Client client;
    client.setRemotePort(0);
    EXPECT_EQ(client.connectAndWait(), 116);
    client.setRemoteAddress(0);
    client.setRemotePort(80);
    EXPECT_EQ(client.connectAndWait(), 102);
    EXPECT_EQ(client.send("x"), 10057);

    Server server;
    ASSERT_EQ(server.listen(), 0);
    const quint16 port = server.listeningPort();
    client.setRemoteAddress(htonl(INADDR_LOOPBACK));
    client.setRemotePort(port);
    ASSERT_EQ(client.connectAndWait(), 0);
    EXPECT_EQ(client.connectSocket(), 104);
    EXPECT_EQ(client.setRemotePort(1), 100);
    EXPECT_EQ(client.setRemoteAddress(1), 101);
    EXPECT_EQ(client.remotePort(), port);
    EXPECT_EQ(client.localAddressText(), QStringLiteral("127.0.0.1"));
    EXPECT_EQ(client.localHost(), QStringLiteral("127.0.0.1"));

    CListeningSocket unloaded;
    EXPECT_EQ(unloaded.listen(), 10093);
}

// A connection reset by the other end: the receive error is reported, then the close with it.
TEST_F(PortWait, ResetIsAReceiveError)
{
    struct Watch : Client
    {
        std::vector<std::pair<int, QString>> errors;
        void onError(int code, const QString& text) override { errors.emplace_back(code, text); }
    };
    Watch watch;
    Server other;
    ASSERT_EQ(other.listen(), 0);
    watch.setRemotePort(other.listeningPort());
    ASSERT_EQ(watch.connectAndWait(), 0);
    ASSERT_TRUE(pumpUntil([&] { return other.accepted; }));
    const linger abortive{1, 0};
    ASSERT_EQ(setsockopt(other.socketHandle(), SOL_SOCKET, SO_LINGER, &abortive, sizeof abortive), 0);
    other.disconnectSocket(0);
    EXPECT_EQ(watch.waitForDisconnect(), 10054);
    ASSERT_EQ(watch.errors.size(), 1u);
    EXPECT_EQ(watch.errors[0], std::make_pair(10054, QStringLiteral("Winsock error in recv() ")));
}

TEST(PortState, LocalPortAndSocketOptions)
{
    Server server;
    ASSERT_EQ(server.listen(), 0);
    const quint16 port = server.listeningPort();
    // A free local port: one the system just handed out and took back.
    CListeningSocket probe;
    probe.winsock().setLoaded(true);
    ASSERT_EQ(probe.listen(), 0);
    const quint16 local = probe.listeningPort();
    probe.stopListening();

    Client client;
    client.setRemotePort(port);
    client.setLocalPort(local);
    client.setKeepAlive(true);
    ASSERT_EQ(client.connectAndWait(), 0);
    sockaddr_in bound{};
    socklen_t length = sizeof bound;
    ASSERT_EQ(getsockname(client.socketHandle(), reinterpret_cast<sockaddr*>(&bound), &length), 0);
    EXPECT_EQ(ntohs(bound.sin_port), local);
    int value = 0;
    length = sizeof value;
    getsockopt(client.socketHandle(), SOL_SOCKET, SO_KEEPALIVE, &value, &length);
    EXPECT_EQ(value, 1);
    getsockopt(client.socketHandle(), SOL_SOCKET, SO_OOBINLINE, &value, &length);
    EXPECT_EQ(value, 1);
    linger lingering{};
    length = sizeof lingering;
    getsockopt(client.socketHandle(), SOL_SOCKET, SO_LINGER, &lingering, &length);
    EXPECT_EQ(lingering.l_onoff, 0);
}

} // namespace

// The data port listens on the one address it is given and takes a connection only from the
// expected peer: any other is closed and the port goes on listening.
TEST(DataPort, TakesOnlyTheExpectedPeer)
{
    const quint32 loopback = htonl(INADDR_LOOPBACK);
    struct Case
    {
        quint32 acceptFrom;
        bool taken;
    };
    // 127.0.0.2 is only ever named as the peer to wait for; no connection goes there.
    for (const Case c : {Case{htonl(0x7f000002), false}, Case{loopback, true}}) {
        Server server;
        ASSERT_EQ(server.listen(loopback, c.acceptFrom), 0);
        Client client;
        client.setRemotePort(server.listeningPort());
        ASSERT_EQ(client.connectAndWait(), 0);
        if (c.taken) {
            EXPECT_TRUE(pumpUntil([&] { return server.accepted; }));
            EXPECT_FALSE(server.isListening());
        } else {
            // Closed by the port at once: the client sees the end of the connection.
            EXPECT_EQ(client.waitForDisconnect(), 0);
            EXPECT_FALSE(server.accepted);
            EXPECT_TRUE(server.isListening());
        }
    }
}
