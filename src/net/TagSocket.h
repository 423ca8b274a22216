#pragma once

#include "net/CWinsock.h"
#include "net/SmtpReplyReader.h"
#include "net/TTimeCounter.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

class QIODevice;
class SocketStream;
class TagRas;

// A line-oriented mail session over one TCP connection. Every wait (host look-up, connect, reply,
// send) runs the event loop until its condition holds, Cancel is called, the countdown
// (TimeOut seconds, restarted whenever bytes are accepted) runs out, or the socket reports an
// error; it never spins. Failures are raised as the mail errors of net/MailErrors.h.
//
// Sound behaviour over the wire: command lines never carry a CR or LF of their text (each becomes
// a blank), and SendStream dot-stuffs the data phase (RFC 5321, 4.5.2) so that every line arrives
// as composed.
class TagSocket : public QObject
{
    Q_OBJECT

public:
    explicit TagSocket(QObject* parent = nullptr);
    // Writes the transcript to LogFileName when one is set.
    ~TagSocket() override;

    QString Server;
    QString Service;
    quint16 DefaultPort = 0;
    QString LocalHostName;
    QString LogFileName;
    QStringList Transcript;
    QString ReplyText;
    // Every line of the last reply GetReply() read.
    QByteArrayList ReplyLines;
    TagRas* RAS = nullptr;
    // An authority trusted besides the system's for StartTLS(); empty for none.
    QString CAFile;
    // The code of ESocketError when TLS cannot be set up with the server.
    static constexpr int TlsFailed = 310;

    int TimeOut() const { return m_counter.Length(); }
    void setTimeOut(int seconds) { m_counter.setLength(seconds); }
    bool Canceled() const { return m_canceled; }
    bool TimedOut() const { return m_counter.TimedOut(); }
    bool Connected() const { return m_connected; }
    quint32 serverAddress() const { return m_address; }
    quint16 port() const { return m_port; }

    bool WinsockLoaded() const { return m_winsock.loaded(); }
    void setWinsockLoaded(bool loaded) { m_winsock.setLoaded(loaded); }

    void Open();
    void Connect();
    void Close();
    void Cancel();
    // One reply line (in *line) and its code.
    int ReadReplyLine(QByteArray* line = nullptr);
    // The first line's code of a complete reply; ReplyText holds its last line.
    int GetReply();
    void SendLine(const QString& text);
    // Sends a line holding a secret: the transcript gets shown instead.
    void SendSecretLine(const QByteArray& line, const QString& shown);
    // Runs the TLS handshake on the open connection (right after connecting for implicit TLS,
    // after the server agreed to STARTTLS otherwise); every later byte goes through it. A failure
    // closes the connection and raises ESocketError(TlsFailed) naming the reason.
    void StartTLS();
    bool Secure() const;
    // Sends the device's bytes from position 0 in chunks of ChunkSize, dot-stuffed.
    void SendStream(QIODevice& stream);

    // A chunk is one read, one send and one turn of the window's events: large enough that a long
    // body costs a few system calls, small enough that Cancel is seen within a moment.
    static constexpr int ChunkSize = 64 * 1024;
    // Appends data to out with one more "." in front of every line that begins with "."; lineStart
    // tells whether data begins a line and is left telling whether the next piece will.
    static void dotStuff(const char* data, qint64 size, bool* lineStart, QByteArray* out);
    // Whether dotStuff would add anything to data.
    static bool needsDotStuffing(const char* data, qint64 size, bool lineStart);
    // Whether a piece that starts a line holds no line beginning with "."; the answer for a large
    // piece is kept with the piece (a run sends the same description in every mail), so only a
    // piece that lives on anyway should be asked.
    static bool stuffingFree(const QByteArray& piece);

signals:
    void OnOpen();
    void OnClosing();
    void OnClosed();
    void OnCancel();
    // The error text, which a handler may change.
    void OnError(QString& text);
    void OnProgress(int percent, qint64 position);

protected:
    // Clears the session's flags before a new session.
    void resetSession();
    [[noreturn]] void raiseServerError();

private:
    void waitFor(const std::function<bool()>& done);
    void lookUpHost(const QString& host);
    void resolvePort(const QString& portText);
    void readReady();
    void writeReady();
    void sendAll(const QByteArray& bytes);
    void sendAll(const char* bytes, qint64 size);
    void closeHandle();
    [[noreturn]] void raiseSocketError(int code);
    [[noreturn]] void raiseTlsError(const QString& text);
    void requireConnected() const;

    CWinsock m_winsock;
    TTimeCounter m_counter;
    SocketStream* m_stream;
    bool m_connected = false;
    bool m_canceled = false;
    quint32 m_address = 0;
    quint16 m_port = 0;
    int m_lookupId = -1;
    bool m_lookupDone = false;
    int m_asyncError = 0;
    bool m_connectDone = false;
    bool m_writable = false;
    bool m_peerClosed = false;
    QByteArray m_inbox;
    QString m_host;
    bool m_handshaking = false;
    bool m_tlsTurn = false;
    SmtpReplyReader m_reader;
};
