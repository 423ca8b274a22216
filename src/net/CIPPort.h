#pragma once

#include "net/CWinsock.h"
#include "net/LineFIFO.h"
#include "net/NetResult.h"
#include "net/SocketStream.h"

#include <QByteArray>
#include <QObject>
#include <QString>

#include <exception>

// A non-blocking TCP connection on a POSIX socket, driven by the event loop: readiness comes
// through QSocketNotifier, received bytes are cut into lines by a 2048-byte LineFIFO and handed
// to onDataIn(). Clients derive from it (usually through CIPPortMsg) and override the on...()
// events. Everything runs on the thread that created the port.
//
// Results are Windows Sockets codes (see CWinsock): 0 for success, 10035 for "would block",
// 104 "already connected", 102 no address, 116 no port, 100/101 endpoint change refused.
class CIPPort : public QObject
{
    Q_OBJECT

public:
    using DelimiterMode = LineFIFO::Mode;
    static constexpr int ReceiveBufferSize = LineFIFO::DefaultCapacity;
    // The result of a connection whose TLS handshake failed; tlsErrorText() tells why.
    static constexpr int TlsFailed = 310;

    explicit CIPPort(QObject* parent = nullptr);
    // The description of a result without one of its own: the port's texts for 100 ... 116 and
    // 301 "Interrupted", otherwise CWinsock::describe().
    static QString describe(int code);
    // A result of a port's connect, wait or send, with a description of its own or the port's.
    static NetResult result(int code, const QString& description = QString());
    // Closes the socket without firing any event.
    ~CIPPort() override;

    CWinsock& winsock() { return m_winsock; }
    const CWinsock& winsock() const { return m_winsock; }

    // IPv4 address in network byte order; changing it while a socket exists gives 101.
    quint32 remoteAddress() const { return m_remoteAddress; }
    int setRemoteAddress(quint32 address);
    // Changing it while a socket exists gives 100.
    quint16 remotePort() const { return m_remotePort; }
    int setRemotePort(quint16 port);
    // Port to bind before connecting; 0 lets the system choose.
    quint16 localPort() const { return m_localPort; }
    void setLocalPort(quint16 port) { m_localPort = port; }

    // Kernel socket buffer sizes applied at connect; 0 keeps the kernel's own (auto-tuned) sizes.
    int receiveBufferSize() const { return m_receiveBufferSize; }
    void setReceiveBufferSize(int size) { m_receiveBufferSize = size; }
    int sendBufferSize() const { return m_sendBufferSize; }
    void setSendBufferSize(int size) { m_sendBufferSize = size; }
    // On: close returns at once and queued data is still delivered. Off: close resets.
    bool gracefulClose() const { return m_gracefulClose; }
    void setGracefulClose(bool on) { m_gracefulClose = on; }
    bool keepAlive() const { return m_keepAlive; }
    void setKeepAlive(bool on) { m_keepAlive = on; }

    // On: every connection starts TLS with the server named host right after the TCP connect,
    // and onConnected() reports the handshake's outcome. caFile: an extra trusted authority.
    void setTlsOnConnect(bool on, const QString& host = {}, const QString& caFile = {});
    bool tlsOnConnect() const { return m_tlsOnConnect; }
    // Starts TLS on the open connection (after the protocol's own request for it); the outcome
    // arrives through onTlsStarted(). Lines still buffered unread are refused as injected text.
    void startTls(const QString& host, const QString& caFile);
    bool isSecure() const;
    // The port whose TLS session the next handshake offers to resume (nullptr: none). It must
    // outlive this port's handshakes.
    void setTlsResumeSource(const CIPPort* port) { m_tlsResumeSource = port; }
    // The last handshake resumed an earlier session.
    bool tlsResumed() const;
    // Why the last handshake or secure receive failed.
    QString tlsErrorText() const { return m_tlsError; }

    bool hasSocket() const { return m_stream->isOpen(); }
    bool isConnected() const { return m_connected; }
    int socketHandle() const { return m_stream->fd(); }
    qint64 bytesLastSent() const { return m_bytesLastSent; }

    // Off: received data stays in the socket (and lines already buffered stay buffered) until it
    // is switched on again, which resumes delivery from the event loop.
    bool acceptData() const { return m_acceptData; }
    void setAcceptData(bool accept);

    QByteArray eol() const { return m_fifo.delimiter(); }
    DelimiterMode delimiterMode() const { return m_fifo.mode(); }
    // An empty eol hands every received piece over unchanged. May be changed inside onDataIn():
    // the bytes still buffered are then cut by the new rule.
    void setEol(const QByteArray& eol, DelimiterMode mode = DelimiterMode::Exact);

    // This end of the connection (network byte order / dotted), 0 or empty without one.
    quint32 localAddress() const;
    QString localAddressText() const;
    // Connected: the local address in dotted form; otherwise the machine's host name, or the
    // description of the error that prevented reading it.
    QString localHost() const;

    // Starts connecting to remoteAddress():remotePort(). 0 means under way; onConnected() tells
    // the outcome (also for failures the system reports at once). Other results: 104, 102, 116,
    // 10093, or the error of creating the socket.
    int connectSocket();
    // Closes the connection: lines still buffered (and in the socket) are delivered first when
    // data is accepted, then onDisconnected(error) fires. Inside delivery it only marks the
    // close, which the delivery loop performs when the current piece's handler returns.
    void disconnectSocket(int error = 0);
    // 0 when all of data was taken, 10035 when only bytesLastSent() bytes were (a readiness
    // notification then follows through onReadyToSend()), 10057 without a connection, or the error.
    int send(const char* data, qint64 size);
    int send(const QByteArray& data) { return send(data.constData(), data.size()); }
    // Sends data as TCP urgent data (the last byte carries the urgent mark).
    int sendUrgent(const QByteArray& data);
    void setInlineUrgent(bool on);
    // Asks for one onReadyToSend() as soon as the socket can take more data.
    void requestReadyToSend();

protected:
    // 0 or the sockets error; on an error the socket is already closed.
    virtual void onConnected(int error);
    virtual void onDisconnected(int error);
    // delimited: a line delimiter ended this piece; otherwise it is raw data, a buffer-sized part
    // of an over-long line, or the unterminated rest when the connection closes.
    virtual void onDataIn(const QByteArray& data, bool delimited);
    virtual void onReadyToSend();
    // 0 once a startTls() handshake completed, or TlsFailed (the connection is then closed and
    // onDisconnected(TlsFailed) follows).
    virtual void onTlsStarted(int error);
    virtual void onError(int code, const QString& text);
    // An event handler raised error while running from the event loop. The default hands it to
    // the application's general error handler; message-mode ports raise it from their wait.
    virtual void handlerFailed(std::exception_ptr error);

    // Makes an accepted (or otherwise connected) socket this port's connection.
    void adoptSocket(int fd);
    // Runs delivery as a read notification does: lines, full-buffer pieces, then receives until
    // the socket has nothing more; a receive of 0 bytes closes the connection.
    void deliverData();

private:
    void readReady();
    void writeReady();
    void finishConnect(int error);
    // closing: hand over what is left after the last receive, lines first.
    void runDelivery(bool closing);
    void updateReadNotifier();
    void scheduleDelivery();
    void closeHandle();
    void beginHandshake();
    void continueHandshake();
    void endHandshake(bool established);

    CWinsock m_winsock;
    quint32 m_remoteAddress = 0;
    quint16 m_remotePort = 0;
    quint16 m_localPort = 0;
    int m_receiveBufferSize = 0;
    int m_sendBufferSize = 0;
    bool m_gracefulClose = true;
    bool m_keepAlive = false;

    SocketStream* m_stream;
    bool m_connected = false;
    qint64 m_bytesLastSent = 0;
    bool m_acceptData = true;
    bool m_inDelivery = false;
    bool m_closePending = false;
    int m_closeError = 0;
    bool m_deliveryScheduled = false;
    LineFIFO m_fifo;
    bool m_tlsOnConnect = false;
    QString m_tlsHost;
    QString m_tlsCaFile;
    QString m_tlsError;
    const CIPPort* m_tlsResumeSource = nullptr;
    bool m_handshaking = false;
};
