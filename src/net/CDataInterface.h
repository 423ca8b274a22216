#pragma once

#include "net/CListeningSocket.h"

#include <QString>

// The FTP data connection: listens for the server's connection (active mode) and then sends a
// local file, writes what arrives into one, passes raw data on, or cuts it into directory lines.
// An upload is paced by the socket: each time it can take more, a few sends go out and the event
// loop gets its turn again. A send carries BlocksPerSend blocks of 2048 bytes read at once (one
// system call each way instead of one per block); a partial send moves the file back by what the
// socket did not take.
class CDataInterface : public CListeningSocket
{
    Q_OBJECT

public:
    enum Mode {
        ReceiveData = 1, // received data goes to dataTransfer() only
        SendFile = 2, // send the local file
        ReceiveFile = 3, // write received data to the local file
        ReceiveLines = 4, // each received line goes to dataLine()
    };
    static constexpr qint64 BlockSize = 2048;
    static constexpr int BlocksPerSend = 32;
    // Sends per readiness notification before the event loop runs again.
    static constexpr int SendsPerTurn = 8;

    // What the data connection reports to the client.
    class Listener
    {
    public:
        virtual ~Listener() = default;
        virtual void dataStarted() = 0;
        // count: bytes so far; piece: the data just received (empty for uploads and files).
        virtual void dataTransfer(qint64 count, const QByteArray& piece) = 0;
        virtual void dataLine(const QByteArray& line) = 0;
        virtual void dataEnded() = 0;
        virtual void dataError(int code, const QString& text) = 0;
    };

    explicit CDataInterface(Listener* listener, QObject* parent = nullptr);
    ~CDataInterface() override;

    // On: every data connection starts TLS (as the client, whichever side connected) before any
    // byte of the transfer; a failed handshake is a data error and fails an upload. The handshake
    // begins once the connection is there and the server has acknowledged the transfer command,
    // as servers ignore or drop a data connection that speaks before that.
    void setSecure(bool on, const QString& host = {}, const QString& caFile = {});
    // The server answered the transfer command with a preliminary reply.
    void transferAcknowledged();
    // Sets the mode and the local file for the next connection.
    void prepare(Mode mode, const QString& localFile);
    Mode mode() const { return m_mode; }
    // In SendFile mode: the server is ready for the file (it answered the STOR with 1xx).
    void startSending();
    // Stops sending (the file stays open until the connection closes).
    void holdUpload() { m_held = true; }
    // Closes the listening socket and the connection (ending the transfer) and the file.
    void shutDown();
    // An upload failure that ends the command waiting for its reply: 0, 144 or a sockets code.
    int uploadError() const { return m_uploadError; }
    const QString& uploadErrorText() const { return m_uploadErrorText; }
    qint64 transferred() const { return m_count; }

protected:
    void onAccepted() override;
    void onDisconnected(int error) override;
    void onDataIn(const QByteArray& data, bool delimited) override;
    void onReadyToSend() override;
    void onTlsStarted(int error) override;
    void onError(int code, const QString& text) override;

private:
    void sendBlocks();
    void beginTransfer();
    void startTlsWhenReady();
    void failUpload(int code, const QString& text);
    void closeFile();

    Listener* m_listener;
    bool m_secure = false;
    QString m_tlsHost;
    QString m_tlsCaFile;
    bool m_accepted = false;
    bool m_acknowledged = false;
    bool m_tlsStarted = false;
    Mode m_mode = ReceiveData;
    QString m_localFile;
    int m_fd = -1;
    qint64 m_count = 0;
    bool m_held = false;
    bool m_sendAllowed = false;
    bool m_started = false;
    int m_uploadError = 0;
    QString m_uploadErrorText;
    QByteArray m_line; // a directory line that came in parts
    QByteArray m_block; // the blocks of the send under way
};
