#pragma once

#include "net/FtpReplyReader.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QString>

class SocketStream;

// One endpoint to try, as the run would reach it.
struct ProbeTarget
{
    enum class Kind {
        Connect, // a web host: connecting (and the TLS handshake) is enough; no request is sent
        Ftp, // read the greeting, QUIT
        Smtp, // read the greeting, QUIT
    };
    enum class Tls {
        None,
        Implicit, // TLS from the first byte (https://, SMTP "TLS" or port 465)
        Command, // after the greeting: FTP "AUTH TLS", SMTP "EHLO" + "STARTTLS"
    };

    QString label; // whose endpoint it is: the site's label, "Mail server"
    QString endpoint; // as the settings give it
    Kind kind = Kind::Connect;
    QString host;
    quint16 port = 0;
    Tls tls = Tls::None;
    QString caFile; // trusted besides the system's store, as the run trusts it
    QString unusable; // why the endpoint cannot be tried at all (not set up, not a host); empty: try it
};

struct ProbeResult
{
    bool done = false;
    bool reachable = false;
    qint64 millis = 0;
    QString reason; // why it is not reachable, in the socket layer's texts where they have one

    // "reachable in N ms" or the reason.
    QString text() const;
};

// Tries one endpoint without blocking: name look-up, connect, TLS handshake with the certificate
// checked, and for FTP and SMTP the greeting and QUIT. Nothing is submitted. Every wait is on the
// event loop (socket notifiers, the look-up's answer); the whole try is bounded by seconds. A probe
// that needs no wait (a refused or at once accepted connection) finishes inside start().
class EndpointProbe : public QObject
{
    Q_OBJECT

public:
    EndpointProbe(ProbeTarget target, int seconds, QObject* parent = nullptr);
    ~EndpointProbe() override;

    void start();
    const ProbeTarget& target() const { return m_target; }
    const ProbeResult& result() const { return m_result; }

signals:
    void finished();

protected:
    void timerEvent(QTimerEvent* event) override;

private:
    enum class Stage { LookUp, Connecting, Handshake, Greeting, CommandReply, Quitting, Done };

    void armLimit();
    void looked(const QString& hostError, quint32 address);
    void connectTo(quint32 address);
    void socketReady(bool writable);
    void connected();
    void beginTls();
    void stepTls();
    void readReplies();
    // A whole reply came: what comes next.
    void replied(bool success, const QByteArray& lastLine);
    void send(const QByteArray& line);
    void flush();
    void watch(bool read, bool write);
    void succeed();
    void fail(const QString& reason);
    void failCode(int code);
    // A failed read or write: TLS's reason, or the code's description.
    void failStream(int code, const QString& tlsError);
    void closeSocket();

    ProbeTarget m_target;
    int m_seconds;
    ProbeResult m_result;
    Stage m_stage = Stage::LookUp;
    SocketStream* m_stream;
    int m_limit = 0; // the time-out's timer, once the probe waits
    QElapsedTimer m_clock;
    QByteArray m_in;
    QByteArray m_out;
    FtpReplyReader m_reader; // judges the reply under way (SMTP replies read alike)
    QByteArray m_command; // the command whose reply is awaited (AUTH TLS, EHLO, STARTTLS)
    int m_lookupId = -1;
};
