// The one socket stream under the socket layer's classes, against real loopback peers: what a full
// socket, a closing or resetting peer and bytes held inside a TLS session do to reads and writes,
// and a port's look-up ended by an interrupt.
#include "net/SocketStream.h"
#include "net/CIPPortMsg.h"
#include "net/NetworkWait.h"

#include "support/AuthorityFixture.h"
#include "support/NetworkWatchdog.h"
#include "support/PeerProcess.h"
#include "support/TempBase.h"
#include "support/Text.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace {

// A blocking listener on 127.0.0.1 and the one connection it accepts.
struct Listener
{
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    quint16 port = 0;

    Listener()
    {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        ::bind(fd, reinterpret_cast<sockaddr*>(&address), length);
        ::listen(fd, 1);
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
        port = ntohs(address.sin_port);
    }
    ~Listener() { ::close(fd); }
    int accept() const { return ::accept(fd, nullptr, nullptr); }
};

// Turns the event loop until done holds; false when it never did (the test then fails, not hangs).
template <typename Done>
bool turnUntil(Done done)
{
    QDeadlineTimer deadline(20000);
    while (!done() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    return done();
}

// A stream connected to the listener; the accepted end is returned in *peer.
bool connectStream(SocketStream& stream, const Listener& listener, int* peer, SocketStream::Options options = {})
{
    if (stream.open(options) != 0)
        return false;
    const StreamResult started = stream.connectTo(htonl(INADDR_LOOPBACK), listener.port);
    *peer = listener.accept();
    if (started.kind == StreamResult::Kind::WouldBlock) {
        bool writable = false;
        const auto connection = QObject::connect(&stream, &SocketStream::writable, [&] { writable = true; });
        stream.watchWrite(true);
        turnUntil([&] { return writable; });
        QObject::disconnect(connection);
        stream.watchWrite(false);
    }
    return started.kind != StreamResult::Kind::Failed && stream.connectError() == 0 && *peer >= 0;
}

TEST(SocketStream, PartialWritesOnAFullSocketLoseAndReorderNothing)
{
    Listener listener;
    SocketStream stream;
    int peer = -1;
    SocketStream::Options small;
    small.sendBufferSize = 4096;
    ASSERT_TRUE(connectStream(stream, listener, &peer, small));
    QByteArray sent(4 * 1024 * 1024, Qt::Uninitialized);
    for (qsizetype i = 0; i < sent.size(); ++i)
        sent[i] = char(i * 7 + i / 251);
    QByteArray received;
    std::thread reader([peer, &received] {
        char buffer[3000]; // reads slower than the writer writes: the socket fills
        for (ssize_t n; (n = ::recv(peer, buffer, sizeof buffer, 0)) > 0;)
            received.append(buffer, n);
        ::close(peer);
    });
    bool writable = false;
    QObject::connect(&stream, &SocketStream::writable, [&] { writable = true; });
    qsizetype offset = 0;
    while (offset < sent.size()) {
        const StreamResult wrote = stream.write(sent.constData() + offset, sent.size() - offset);
        ASSERT_NE(wrote.kind, StreamResult::Kind::Failed) << wrote.code;
        offset += wrote.bytes;
        if (wrote.kind == StreamResult::Kind::WouldBlock) {
            writable = false;
            stream.watchWrite(true);
            ASSERT_TRUE(turnUntil([&] { return writable; }));
        }
    }
    stream.close();
    reader.join();
    EXPECT_EQ(received.size(), sent.size());
    EXPECT_TRUE(received == sent);
}

TEST(SocketStream, APeerThatEndsMidReadIsSeenAsClosedOrReset)
{
    const struct
    {
        const char* name;
        bool reset;
        StreamResult::Kind end;
        int code;
    } cases[] = {
        {"close", false, StreamResult::Kind::PeerClosed, 0},
        {"reset", true, StreamResult::Kind::Failed, 10054},
    };
    for (const auto& c : cases) {
        Listener listener;
        SocketStream stream;
        int peer = -1;
        ASSERT_TRUE(connectStream(stream, listener, &peer)) << c.name;
        ::send(peer, "abc", 3, MSG_NOSIGNAL);
        if (c.reset) {
            const linger abort{1, 0};
            ::setsockopt(peer, SOL_SOCKET, SO_LINGER, &abort, sizeof abort);
        }
        ::close(peer);
        bool readable = false;
        QObject::connect(&stream, &SocketStream::readable, [&] { readable = true; });
        stream.watchRead(true);
        ASSERT_TRUE(turnUntil([&] { return readable; })) << c.name;
        QByteArray data;
        StreamResult got;
        char buffer[2];
        // A reset may drop what came before it; a close never does.
        while ((got = stream.read(buffer, sizeof buffer)).done())
            data.append(buffer, got.bytes);
        EXPECT_EQ(got.kind, c.end) << c.name;
        EXPECT_EQ(got.code, c.code) << c.name;
        if (!c.reset) {
            EXPECT_EQ(data, QByteArray("abc"));
        }
    }
}

class SocketStreamTls : public WithTestAuthority<::testing::Test>
{
protected:
    void SetUp() override { ASSERT_TRUE(s_authority->ready()) << s_authority->errors().toStdString(); }

    // An SMTP peer speaking TLS from the first byte.
    std::unique_ptr<PeerProcess> startPeer(const QStringList& extra = {})
    {
        auto peer = std::make_unique<PeerProcess>(s("smtp_peer.py"),
            QStringList{s("--record"), m_base.file(s("mail")), s("--implicit-tls"), s("--tls"),
                s_authority->certFile(s("good")), s_authority->keyFile(s("good")), s("--lifetime"), s("60")}
                + extra);
        EXPECT_TRUE(peer->started()) << peer->errors().toStdString();
        return peer;
    }

    // Connects to the peer and runs the TLS handshake, trusting caFile.
    static testing::AssertionResult connectSecurely(SocketStream& stream, quint16 port, const QString& caFile)
    {
        if (stream.open({}) != 0 || stream.connectTo(htonl(INADDR_LOOPBACK), port).kind == StreamResult::Kind::Failed)
            return testing::AssertionFailure() << "no connection";
        bool ready = false;
        const auto onRead = QObject::connect(&stream, &SocketStream::readable, [&] { ready = true; });
        const auto onWrite = QObject::connect(&stream, &SocketStream::writable, [&] { ready = true; });
        stream.watchWrite(true);
        if (!turnUntil([&] { return ready; }) || !stream.beginTls(s("127.0.0.1"), caFile))
            return testing::AssertionFailure() << "no TLS";
        StreamResult step;
        while ((step = stream.stepHandshake()).kind == StreamResult::Kind::WouldBlock) {
            ready = false;
            if (!turnUntil([&] { return ready; }))
                return testing::AssertionFailure() << "handshake stalled";
        }
        stream.watch(false, false);
        QObject::disconnect(onRead);
        QObject::disconnect(onWrite);
        if (!step.done())
            return testing::AssertionFailure() << step.tlsError.toStdString();
        return testing::AssertionSuccess();
    }

    // Reads a few bytes per readiness until the greeting's last line is in.
    static QByteArray readGreeting(SocketStream& stream)
    {
        QByteArray greeting;
        const auto connection = QObject::connect(&stream, &SocketStream::readable, [&] {
            char few[4];
            const StreamResult got = stream.read(few, sizeof few);
            if (got.done())
                greeting.append(few, got.bytes);
        });
        stream.watchRead(true);
        turnUntil([&] { return greeting.endsWith("\r\n") && greeting.contains("220 "); });
        QObject::disconnect(connection);
        stream.watch(false, false);
        return greeting;
    }

    TempBase m_base;
    NetworkWatchdog m_watchdog{30000};
};

// Reading a few bytes per readiness leaves the rest of each record decrypted inside the session,
// where the socket announces nothing: the stream must, or the greeting's end is never read.
TEST_F(SocketStreamTls, BytesLeftInsideTheSessionAreAnnounced)
{
    auto peer = startPeer({s("--greeting-lines"), s("30")});
    SocketStream stream;
    ASSERT_TRUE(connectSecurely(stream, peer->port(), s_authority->caFile()));
    const QByteArray greeting = readGreeting(stream);
    EXPECT_TRUE(greeting.contains("\r\n220 "));
    EXPECT_EQ(greeting.count("\r\n"), 30);
}

// A second connection to the same server under the same trust resumes the session the server
// offered on the first; under other trust (another CA file) it does not. A TLS 1.3 ticket is used
// once and replaced by the next connection's; a TLS 1.2 session is resumed again and again.
TEST_F(SocketStreamTls, TheNextConnectionToAServerResumesUnderTheSameTrustOnly)
{
    const QString otherCaFile = m_base.file(s("other-ca.pem"));
    QFile::copy(s_authority->caFile(), otherCaFile);
    for (const bool tls12 : {false, true}) {
        SCOPED_TRACE(tls12 ? "TLS 1.2" : "TLS 1.3");
        auto peer = startPeer(tls12 ? QStringList{s("--tls12")} : QStringList{});
        const struct
        {
            QString caFile;
            bool resumed;
        } connections[] = {
            {s_authority->caFile(), false},
            {s_authority->caFile(), true},
            {otherCaFile, false},
            {s_authority->caFile(), true},
            {s_authority->caFile(), true},
        };
        int number = 0;
        for (const auto& c : connections) {
            SCOPED_TRACE(++number);
            SocketStream stream;
            ASSERT_TRUE(connectSecurely(stream, peer->port(), c.caFile));
            EXPECT_EQ(stream.tlsResumed(), c.resumed);
            // The server's offers arrive after the handshake, with the first bytes read.
            EXPECT_TRUE(readGreeting(stream).startsWith("220 "));
        }
    }
}

// A look-up is a wait like any other: an interrupt ends it with 301, and its answer, coming later,
// goes nowhere.
TEST(PortLookUp, AnswersAsTheResolverDoesAndAnInterruptEndsIt)
{
    const struct
    {
        const char* host;
        bool interrupt;
        int code;
        const char* address;
    } cases[] = {
        {"localhost", false, 0, "127.0.0.1"},
        {"10.1.2.3", false, 0, "10.1.2.3"},
        {"no-such-host.invalid", false, 11001, nullptr},
        {"localhost", true, CIPPortMsg::Interrupted, nullptr},
    };
    for (const auto& c : cases) {
        CIPPortMsg port;
        port.winsock().setLoaded(true);
        if (c.interrupt) {
            // Posted before the look-up starts, so it comes no later than the answer.
            QMetaObject::invokeMethod(
                &port, [] { interruptNetworkWaits(); }, Qt::QueuedConnection);
        }
        quint32 address = 1;
        EXPECT_EQ(port.lookUpAndWait(s(c.host), &address), c.code) << c.host;
        in_addr expected{};
        if (c.address)
            inet_pton(AF_INET, c.address, &expected);
        EXPECT_EQ(address, expected.s_addr) << c.host;
    }
    QCoreApplication::processEvents();
    CIPPortMsg unloaded;
    quint32 address = 0;
    EXPECT_EQ(unloaded.lookUpAndWait(s("localhost"), &address), 10093);
}

} // namespace
