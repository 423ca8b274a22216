#pragma once

#include <QObject>
#include <QString>

#include <memory>
#include <optional>

class QSocketNotifier;
class TlsSession;

// What one operation of a SocketStream did. Nothing throws and nothing is left in errno.
struct StreamResult
{
    enum class Kind {
        Done, // bytes moved (read: at least one; write: possibly fewer than offered)
        WouldBlock, // nothing now; readiness will tell when to try again
        PeerClosed, // the peer ended its data
        Failed, // code (a Windows Sockets code), and for a TLS failure the reason in tlsError
    };

    Kind kind = Kind::Done;
    qint64 bytes = 0;
    int code = 0;
    QString tlsError;

    bool done() const { return kind == Kind::Done; }
    static StreamResult moved(qint64 bytes) { return {Kind::Done, bytes, 0, {}}; }
    static StreamResult wouldBlock() { return {Kind::WouldBlock, 0, 0, {}}; }
    static StreamResult peerClosed() { return {Kind::PeerClosed, 0, 0, {}}; }
    static StreamResult failed(int code, const QString& tlsError = {}) { return {Kind::Failed, 0, code, tlsError}; }
};

// One non-blocking IPv4 TCP connection on a POSIX socket, and the TLS session over it when there
// is one: the single place where the socket layer's classes (CIPPort, TagSocket, EndpointProbe)
// create, connect, read, write and close, and where errno becomes a Windows Sockets code.
//
// Readiness comes as the readable() and writable() signals for what watch() asks. Decrypted bytes
// already inside the TLS session raise no readiness of the socket: while reads are watched, the
// stream announces them itself with a queued readable().
class SocketStream : public QObject
{
    Q_OBJECT

public:
    // How open() prepares the socket; an unset option keeps the system's default. Options are a
    // preference, not a condition: a refusal leaves the default.
    struct Options
    {
        bool bind = true; // bind to localPort (0: any) before connecting
        quint16 localPort = 0;
        std::optional<bool> keepAlive;
        std::optional<bool> resetOnClose; // SO_LINGER with no time: close resets the connection
        int receiveBufferSize = 0;
        int sendBufferSize = 0;
        bool inlineUrgent = false;
        bool noDelay = false; // TCP_NODELAY
    };

    explicit SocketStream(QObject* parent = nullptr);
    // Closes without any signal.
    ~SocketStream() override;

    bool isOpen() const { return m_fd >= 0; }
    int fd() const { return m_fd; }

    // Creates the socket (closing any earlier one): 0 or the error code.
    int open(const Options& options);
    // Starts connecting the open socket: Done when connected at once, WouldBlock while under way
    // (writable() then tells, and connectError() says how it went), or Failed.
    StreamResult connectTo(quint32 address, quint16 port);
    // 0 once the connection is up, or the code of why it never came.
    int connectError() const;
    // Makes an accepted (or otherwise connected) socket this stream's, non-blocking.
    void adopt(int fd);
    // Closes the socket, sending TLS's closing alert when the socket takes it at once.
    void close();

    // Prepares TLS for host over the connection; false with tlsErrorText() when it cannot be set up.
    // resumeFrom: a stream whose established session this one offers to resume.
    bool beginTls(const QString& host, const QString& caFile, const SocketStream* resumeFrom = nullptr);
    // One step of the handshake: Done, WouldBlock (the readiness it needs is then watched, and no
    // other), or Failed with the reason.
    StreamResult stepHandshake();
    bool hasTls() const { return bool(m_tls); }
    bool isSecure() const;
    bool tlsResumed() const;
    QString tlsErrorText() const { return m_tlsError; }

    // Through TLS when the stream has it. EINTR is retried.
    StreamResult read(char* data, qint64 size);
    StreamResult write(const char* data, qint64 size);
    // TCP urgent data; with TLS it goes in line as a plain write.
    StreamResult writeUrgent(const char* data, qint64 size);
    void setInlineUrgent(bool on);

    void watch(bool read, bool write);
    void watchRead(bool on);
    void watchWrite(bool on);
    bool watchingRead() const;

    // This end of the connection, network byte order; 0 without one.
    quint32 localAddress() const;

signals:
    void readable();
    void writable();

private:
    StreamResult tlsFailure(int code);
    void emitReadable();
    void announcePendingTls();

    int m_fd = -1;
    // Changes with every socket: a queued announcement of an earlier one is dropped.
    quint64 m_generation = 0;
    bool m_pendingAnnounced = false;
    std::unique_ptr<TlsSession> m_tls;
    QString m_tlsError;
    QSocketNotifier* m_readNotifier;
    QSocketNotifier* m_writeNotifier;
};
