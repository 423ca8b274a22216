#pragma once

#include "net/CIPPort.h"
#include "net/NetResult.h"

#include <functional>
#include <optional>
#include <vector>

class NetworkWait;

// A port with synchronous exchanges: each wait runs the event loop
// (QCoreApplication::processEvents with WaitForMoreEvents, so it sleeps while nothing happens)
// until its end condition holds, and returns 0 or an error code. Waits end with 301 when
// interrupt() or interruptNetworkWaits() is called, also from a handler running inside them.
// An error raised by an event handler while a wait of this port runs is raised again by that
// wait, from its own frame, after the event loop has returned.
//
// Reply lines: the first line delivered after the last reply was taken is kept in replyBuffer()
// (cut to 1024 bytes; a line that came in buffer-sized parts counts once). With stopAfterOneLine() (the default) data
// is then no longer accepted, so later lines stay unread until the next waitForReply() asks for them: one line per
// wait.
class CIPPortMsg : public CIPPort
{
    Q_OBJECT

public:
    static constexpr int ReplyBufferSize = 1024;
    static constexpr int Interrupted = 301;

    explicit CIPPortMsg(QObject* parent = nullptr);
    ~CIPPortMsg() override;

    QByteArray replyBuffer() const { return m_replyBuffer; }
    bool stopAfterOneLine() const { return m_stopAfterOneLine; }
    void setStopAfterOneLine(bool on) { m_stopAfterOneLine = on; }
    // Result of the last wait, and a description of its own when it has one (file errors).
    int lastResult() const { return m_lastResult; }
    QString lastResultDescription() const { return m_lastDescription; }
    // The same with its kind.
    NetResult lastNetResult() const;
    bool isWaiting() const { return !m_waits.empty(); }

    // Looks host up inside a wait of this port, so the window goes on meanwhile and interrupt(),
    // Skip and the stall limit end it: 0 with *address (network byte order), the resolver's code
    // (the same as CWinsock::resolve), 10093 when the port's sockets are not loaded, or 301. A
    // dotted address answers at once.
    int lookUpAndWait(const QString& host, quint32* address);
    // Connects and waits until connected: 0, the connect error, or 301.
    int connectAndWait();
    // Starts TLS on the open connection and waits for the handshake: 0, CIPPort::TlsFailed (the
    // connection is then closed; tlsErrorText() says why) or 301.
    int startTlsAndWait(const QString& host, const QString& caFile);
    // Waits for the next reply line (replyBuffer()). 0, the per-turn hook's error, or 301 (also
    // when the connection closes meanwhile).
    int waitForReply();
    // Waits until the connection is closed: the error it closed with (or one recorded by a
    // receive failure), or 301. Data is accepted again meanwhile, so lines still unread are
    // delivered before the close.
    int waitForDisconnect();
    // Sends all of data, running the event loop whenever the socket is full: 0, the send error,
    // the per-block hook's error, or 301.
    int sendAll(const char* data, qint64 size);
    int sendAll(const QByteArray& data) { return sendAll(data.constData(), data.size()); }
    // Ends this port's waits in progress with 301. Outside a wait it has no effect.
    void interrupt();

protected:
    // Runs after every turn of waitForReply()'s loop; a non-zero result ends the wait with it.
    virtual int waitTurn();
    // Runs while sendAll() waits for room, with the bytes sent so far; non-zero ends the send.
    virtual int sendProgress(qint64 sentSoFar);
    // Records a result with a description of its own.
    void setResult(int code, const QString& description);
    void setResult(const NetResult& result);

    void onConnected(int error) override;
    void onDisconnected(int error) override;
    void onTlsStarted(int error) override;
    void onDataIn(const QByteArray& data, bool delimited) override;
    void handlerFailed(std::exception_ptr error) override;

private:
    // Turns the event loop until check returns a result. check gets whether the wait was
    // interrupted; turn runs after each turn and may end the wait with an error.
    int runWait(
        const std::function<std::optional<int>(bool interrupted)>& check, const std::function<int()>& turn = {});
    int finish(int result);

    QByteArray m_replyBuffer;
    bool m_replyArrived = false;
    bool m_inLongLine = false;
    bool m_stopAfterOneLine = true;
    int m_replyWaits = 0;
    int m_disconnectWaits = 0;
    int m_connectResult = 0;
    bool m_connectDone = false;
    bool m_tlsDone = false;
    int m_tlsResult = 0;
    int m_closeResult = 0;
    int m_lastResult = 0;
    QString m_lastDescription;
    NetResult::Kind m_lastKind = NetResult::Kind::Ok;
    std::vector<NetworkWait*> m_waits;
    std::exception_ptr m_handlerFailure;
};
