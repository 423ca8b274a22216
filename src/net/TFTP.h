#pragma once

#include "net/CDataInterface.h"
#include "net/EFTP.h"
#include "net/FtpControlPort.h"
#include "net/NetResult.h"

#include <QByteArray>
#include <QObject>
#include <QString>

#include <memory>

class NetworkWait;

enum TFtpAction {
    ftpIdle = 0,
    ftpAbort = 1,
    ftpLogon = 2,
    ftpLogoff = 3,
    ftpDownload = 4,
    ftpUpload = 5,
    ftpDeleteFile = 6,
    ftpRenameFile = 7,
    ftpListDirectory = 8,
    ftpListDirectoryLong = 9,
    ftpMakeDirectory = 10,
    ftpRemoveDirectory = 11,
    ftpTypeAscii = 12, // internal: "TYPE A"
    ftpTypeBinary = 13, // internal: "TYPE I"
    ftpChangeDirectory = 14, // internal: CWD to the stored path, CDUP for ".."
    ftpCommand = 15, // internal: CommandText as it stands
};

enum TTransferMode { tmDefault = 0, tmASCII = 1, tmBinary = 2 };

// FTP client (active mode). Setting Action performs it synchronously: the call returns when the
// action has ended, while the event loop keeps running inside the waits (window events, including
// setAction(ftpAbort) or setAction(ftpIdle) from a handler, run during the action). Failures are
// raised as EFTP (code + ": " + description) unless RaiseErrors is off:
//   141 the server's reply line, 147 a reply over 64 KB or a listing over 16 MB, 143 busy, 144/145 local file of an
//   upload, 146 a line break in a value that would go into a command, 301 interrupted, 100...116 and the sockets codes.
// Actions from ftpDownload up log on first when no connection is open. ftpAbort during an action
// sends ABOR and ends the action with 301; a second ftpAbort while the ABOR waits for its answer
// (a server that does not answer) closes the connection.
class TFTP : public QObject, private CDataInterface::Listener
{
    Q_OBJECT

public:
    static constexpr quint16 DefaultPort = 21;
    // The client's own codes for a local file it cannot read and a value it cannot send.
    static constexpr int LocalFileError = 145;
    static constexpr int LineBreakInValue = 146;
    static QString lineBreakText();
    // A value with a line break cannot go into a command line.
    static bool hasLineBreak(const QString& value);
    // The client's codes for a failure reply, a second action, and an answer too long to read.
    static constexpr int ReplyFailed = 141;
    static constexpr int Busy = 143;
    static constexpr int TooLong = 147;
    // A reply or a listing beyond these is a hostile or broken server, not a longer answer.
    static constexpr qsizetype MaxReplyBytes = 64 * 1024;
    static constexpr qint64 MaxListingBytes = 16 * 1024 * 1024;

    explicit TFTP(QObject* parent = nullptr);
    ~TFTP() override;

    bool WinsockLoaded() const;
    void setWinsockLoaded(bool loaded);
    QString WinsockInfo() const;
    QString WinsockStatus() const;
    QString LocalHost() const;

    // A dotted address is used as is, a name is looked up at once; "host:port" also sets the
    // port. Refused with 101 (100 for the port) while a connection exists.
    // "host", "host:port", or "ftps://host[:port]" for a session secured with AUTH TLS, PBSZ 0 and
    // PROT P (control and data connections).
    QString RemoteHost() const { return m_remoteHost; }
    bool Secure() const { return m_secure; }
    // An authority trusted besides the system's for ftps hosts; empty for none.
    QString CAFile() const { return m_caFile; }
    void setCAFile(const QString& path) { m_caFile = path; }
    void setRemoteHost(const QString& host);
    quint16 RemotePort() const;
    void setRemotePort(quint16 port);

    int Action() const { return m_action; }
    void setAction(int action);
    // setAction without raising: the action's outcome (also kept in ErrorCode and
    // ErrorDescription). An error a handler raised during it still travels.
    NetResult run(int action);

    // Reading sends PWD when connected (the stored value otherwise); setting changes directory
    // when connected.
    QString RemotePath();
    void setRemotePath(const QString& path);

    QString User() const { return m_user; }
    void setUser(const QString& user) { m_user = user; }
    QString Password() const { return m_password; }
    void setPassword(const QString& password) { m_password = password; }
    QString LocalFile() const { return m_localFile; }
    void setLocalFile(const QString& file) { m_localFile = file; }
    QString RemoteFile() const { return m_remoteFile; }
    void setRemoteFile(const QString& file) { m_remoteFile = file; }
    QString AltFile() const { return m_altFile; }
    void setAltFile(const QString& file) { m_altFile = file; }
    // The command line of ftpCommand.
    QString CommandText() const { return m_commandText; }
    void setCommandText(const QString& text) { m_commandText = text; }
    int TransferMode() const { return m_transferMode; }
    void setTransferMode(int mode);

    bool isConnected() const;
    bool isBusy() const { return m_action != ftpIdle; }
    int ErrorCode() const { return m_errorCode; }
    QString ErrorDescription() const { return m_errorDescription; }
    // The same with its kind.
    NetResult result() const;
    bool RaiseErrors() const { return m_raiseErrors; }
    void setRaiseErrors(bool raise) { m_raiseErrors = raise; }

    // "PORT" argument for an IPv4 address (network byte order) and port: "a,b,c,d,hi,lo".
    static QByteArray portArgument(quint32 address, quint16 port);
    // The directory of a PWD reply: from its sixth character up to the first double quote.
    static QString pathFromPwdReply(const QByteArray& reply);

signals:
    // direction: 0 client, 1 server, 2 information.
    void OnFirePITrail(int direction, const QString& text);
    // Failures that happen outside the action's own steps.
    void OnError(int code, const QString& text);
    void OnDirList(const QString& entry);
    void OnStartTransfer();
    // count: bytes so far; piece: data received in mode 1, empty otherwise.
    void OnTransfer(qint64 count, const QByteArray& piece);
    void OnEndTransfer();

private:
    // setAction's work: the action's code (0: done), its description kept for result().
    int act(int action);
    int perform(int action);
    int logon();
    int logonSteps();
    static QString listingTooLongText();
    int logoff();
    // AUTH TLS, the handshake, PBSZ 0 and PROT P.
    int secureSession();
    int upload();
    int download();
    int list(const QByteArray& command);
    int simple(const QByteArray& command, const QString& argument);
    int changeDirectory();
    int abortTransfer();
    // Listens for the data connection and announces it with PORT.
    int openDataPort();
    // A command whose data goes over the data connection; on success waits for it to close.
    int dataCommand(const QByteArray& command, const QString& argument);
    // Sends a command (none: reads the greeting) and reads its reply: 0, 141 or a wait's result.
    int exchange(const QByteArray& command, const QString& argument = QString());
    // 146 when a value of the action holds CR or LF.
    int checkValues(int action);
    int fail(int code, const QString& description = QString());
    void raiseIfFailed(int code);
    void waitForDataClose();
    void trail(int direction, const QString& text);

    void dataStarted() override;
    void dataTransfer(qint64 count, const QByteArray& piece) override;
    void dataLine(const QByteArray& line) override;
    void dataEnded() override;
    void dataError(int code, const QString& text) override;

    std::unique_ptr<FtpControlPort> m_control;
    std::unique_ptr<CDataInterface> m_data;
    QString m_remoteHost;
    bool m_secure = false;
    QString m_caFile;
    int m_action = ftpIdle;
    QString m_remotePath;
    QString m_user;
    QString m_password;
    QString m_localFile;
    QString m_remoteFile;
    QString m_altFile;
    QString m_commandText;
    int m_transferMode = tmDefault;
    int m_errorCode = 0;
    QString m_errorDescription;
    QString m_pendingDescription;
    bool m_raiseErrors = true;
    bool m_uploading = false;
    bool m_listingTooLong = false; // the listing under way passed its limit
    bool m_portFromHost = false; // the port came with the host name
    bool m_aborting = false; // an ABOR waits for its answer
    bool m_abortGivenUp = false; // a second abort closed the connection under that wait
    NetworkWait* m_dataWait = nullptr;
};
