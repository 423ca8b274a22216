#include "net/TFTP.h"

#include "net/FtpHost.h"
#include "net/FtpReplyReader.h"
#include "net/NetworkWait.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <arpa/inet.h>

namespace {

const QByteArray CRLF = "\r\n";
constexpr int ReplyFailed = 141;
constexpr int Busy = 143;
constexpr int TooLong = 147;
// A reply or a listing beyond these is a hostile or broken server, not a longer answer.
constexpr qsizetype MaxReplyBytes = 64 * 1024;
constexpr qint64 MaxListingBytes = 16 * 1024 * 1024;
constexpr int ConnectionEvent = 142;
const QString BusyText = QStringLiteral("Busy performing current action.");

// The text of a sockets code for the connection messages: the table's text, else the description.
QString socketsText(int code)
{
    const QString text = CWinsock::errorText(code);
    return text.isEmpty() ? CIPPort::describe(code) : text;
}

} // namespace

TFTP::TFTP(QObject* parent)
    : QObject(parent)
    , m_control(std::make_unique<FtpControlPort>())
    , m_data(std::make_unique<CDataInterface>(static_cast<CDataInterface::Listener*>(this)))
{
    m_control->setRemotePort(DefaultPort);
    // Protected data connections resume the control connection's TLS session.
    m_data->setTlsResumeSource(m_control.get());
    m_control->connected = [this](int error) {
        if (error != 0)
            emit OnError(ConnectionEvent, QStringLiteral("Failed to connect: ") + socketsText(error));
        else
            trail(2, QStringLiteral("Connected."));
    };
    m_control->disconnected = [this](int error) {
        if (error != 0)
            emit OnError(ConnectionEvent, QStringLiteral("Disconnected: ") + socketsText(error));
        else
            trail(2, QStringLiteral("Disconnected."));
    };
    m_control->failed = [this](int code, const QString& text) { emit OnError(code, text); };
    // An upload that failed on the data connection ends the wait for the STOR replies.
    m_control->turn = [this] {
        if (m_listingTooLong) {
            m_pendingDescription = listingTooLongText();
            return TooLong;
        }
        if (!m_uploading || m_data->uploadError() == 0)
            return 0;
        m_pendingDescription = m_data->uploadErrorText();
        return m_data->uploadError();
    };
}

TFTP::~TFTP() = default;

bool TFTP::WinsockLoaded() const
{
    return m_control->winsock().loaded();
}

void TFTP::setWinsockLoaded(bool loaded)
{
    // The control connection and the data connection each hold the library.
    m_control->winsock().setLoaded(loaded);
    m_data->winsock().setLoaded(loaded);
}

QString TFTP::WinsockInfo() const
{
    return m_control->winsock().info();
}

QString TFTP::WinsockStatus() const
{
    return m_control->winsock().status();
}

QString TFTP::LocalHost() const
{
    return m_control->localHost();
}

bool TFTP::isConnected() const
{
    return m_control->isConnected();
}

void TFTP::setRemoteHost(const QString& host)
{
    m_errorCode = 0;
    m_errorDescription.clear();
    if (m_control->hasSocket())
        return raiseIfFailed(fail(101));
    const FtpHost parsed = FtpHost::parse(host);
    m_secure = parsed.secure;
    // "host:port" names another port than the standard one; the next plain host name is back
    // on the standard port (a port set through RemotePort stays).
    const bool portGiven = parsed.port != 0;
    if (portGiven)
        m_control->setRemotePort(parsed.port);
    if (!portGiven && m_portFromHost)
        m_control->setRemotePort(DefaultPort);
    const QString& name = parsed.name;
    m_portFromHost = portGiven;
    m_remoteHost = name;
    if (name.isEmpty()) {
        m_control->setRemoteAddress(0);
        return;
    }
    quint32 address = 0;
    const int resolved = m_control->winsock().resolve(name, &address);
    if (resolved == 10093)
        return;
    if (resolved != 0)
        return raiseIfFailed(fail(resolved));
    m_control->setRemoteAddress(address);
}

quint16 TFTP::RemotePort() const
{
    return m_control->remotePort();
}

void TFTP::setRemotePort(quint16 port)
{
    m_errorCode = 0;
    m_errorDescription.clear();
    if (m_control->setRemotePort(port) != 0)
        return raiseIfFailed(fail(100));
    m_portFromHost = false;
}

void TFTP::setTransferMode(int mode)
{
    if (mode < tmDefault || mode > tmBinary)
        throw QuilletError(QStringLiteral("Invalid Transfermode value"));
    if (isBusy())
        return raiseIfFailed(fail(Busy, BusyText));
    m_transferMode = mode;
}

QString TFTP::RemotePath()
{
    if (!isConnected() || isBusy())
        return m_remotePath;
    m_action = ftpCommand;
    struct Idle
    {
        int& action;
        ~Idle() { action = ftpIdle; }
    } idle{m_action};
    const int result = exchange("PWD");
    if (result == 0)
        m_remotePath = pathFromPwdReply(m_control->replyBuffer());
    return m_remotePath;
}

void TFTP::setRemotePath(const QString& path)
{
    m_errorCode = 0;
    m_errorDescription.clear();
    if (isBusy())
        return raiseIfFailed(fail(Busy, BusyText));
    m_remotePath = path;
    if (isConnected())
        setAction(ftpChangeDirectory);
}

QString TFTP::pathFromPwdReply(const QByteArray& reply)
{
    const QByteArray rest = reply.mid(5);
    const qsizetype quote = rest.indexOf('"');
    return QString::fromLocal8Bit(quote < 0 ? rest : rest.left(quote));
}

QByteArray TFTP::portArgument(quint32 address, quint16 port)
{
    const quint32 host = ntohl(address);
    return QByteArray::number((host >> 24) & 0xff) + ',' + QByteArray::number((host >> 16) & 0xff) + ','
        + QByteArray::number((host >> 8) & 0xff) + ',' + QByteArray::number(host & 0xff) + ','
        + QByteArray::number(port >> 8) + ',' + QByteArray::number(port & 0xff);
}

void TFTP::setAction(int action)
{
    if (action < ftpIdle || action > ftpCommand)
        throw QuilletError(QStringLiteral("Invalid Action Value"));
    m_errorCode = 0;
    m_errorDescription.clear();

    if (action == ftpIdle) {
        m_control->interrupt();
        if (m_dataWait)
            m_dataWait->interrupt();
        return;
    }
    if (action == ftpAbort && isBusy()) {
        // The running action ends with 301 once this returns; its transfer is aborted here.
        m_control->interrupt();
        if (m_dataWait)
            m_dataWait->interrupt();
        if (!isConnected() || m_aborting) {
            // Still connecting: nothing to tell the server. An abort while the last one waits
            // for its answer: the server does not answer, so the connection is given up. The
            // control connection goes first: the server answers the data connection's close on it.
            if (m_aborting && m_control->hasSocket()) {
                m_abortGivenUp = true;
                m_control->disconnectSocket(0);
            }
            m_data->shutDown();
            return;
        }
        return raiseIfFailed(abortTransfer());
    }
    if (isBusy())
        return raiseIfFailed(fail(Busy, BusyText));
    if (const int refused = checkValues(action))
        return raiseIfFailed(refused);

    m_action = action;
    int result = 0;
    try {
        if (!isConnected() && (action == ftpAbort || action >= ftpDownload))
            result = logon();
        if (result == 0)
            result = perform(action);
    } catch (...) {
        m_action = ftpIdle;
        m_uploading = false;
        m_data->shutDown();
        throw;
    }
    m_action = ftpIdle;
    m_uploading = false;
    if (result != 0)
        m_data->shutDown();
    raiseIfFailed(result);
}

int TFTP::perform(int action)
{
    switch (action) {
    case ftpAbort:
        return abortTransfer();
    case ftpLogon:
        return logon();
    case ftpLogoff:
        return logoff();
    case ftpDownload:
        return download();
    case ftpUpload:
        return upload();
    case ftpDeleteFile:
        return simple("DELE", m_remoteFile);
    case ftpRenameFile:
        if (const int result = simple("RNFR", m_remoteFile))
            return result;
        return simple("RNTO", m_altFile);
    case ftpListDirectory:
        return list("NLST");
    case ftpListDirectoryLong:
        return list("LIST");
    case ftpMakeDirectory:
        return simple("MKD", m_remoteFile);
    case ftpRemoveDirectory:
        return simple("RMD", m_remoteFile);
    case ftpTypeAscii:
    case ftpTypeBinary: {
        const bool ascii = action == ftpTypeAscii;
        if (const int result = exchange(ascii ? "TYPE A" : "TYPE I"))
            return result;
        m_transferMode = ascii ? tmASCII : tmBinary;
        return 0;
    }
    case ftpChangeDirectory:
        return changeDirectory();
    case ftpCommand:
        // Without a command there would be no reply to wait for.
        return m_commandText.isEmpty() ? 0 : exchange(QByteArray(), m_commandText);
    }
    return 0;
}

QString TFTP::lineBreakText()
{
    return QStringLiteral(
        "A line break in the user name, password, folder or file name cannot go into an FTP command.");
}

bool TFTP::hasLineBreak(const QString& value)
{
    return value.contains(QLatin1Char('\r')) || value.contains(QLatin1Char('\n'));
}

int TFTP::checkValues(int action)
{
    QStringList values;
    if (action == ftpLogon || (action >= ftpDownload && !isConnected()))
        values << m_user << m_password;
    if (action >= ftpDownload && action <= ftpRemoveDirectory)
        values << m_remoteFile << m_altFile;
    if (action == ftpChangeDirectory)
        values << m_remotePath;
    if (action == ftpCommand)
        values << m_commandText;
    for (const QString& value : values) {
        if (hasLineBreak(value))
            return fail(LineBreakInValue, lineBreakText());
    }
    return 0;
}

int TFTP::logon()
{
    const int result = logonSteps();
    // A failed log-on leaves no session behind: a later action starts afresh instead of sending
    // its commands into a connection that was refused TLS or never answered.
    if (result != 0 && m_control->hasSocket())
        m_control->disconnectSocket(0);
    return result;
}

int TFTP::logonSteps()
{
    if (!m_control->isConnected()) {
        // A socket still connecting from an interrupted attempt is not this logon's.
        if (m_control->hasSocket())
            m_control->disconnectSocket(0);
        trail(2, QStringLiteral("Connecting to FTP server."));
        if (const int connected = m_control->connectAndWait())
            return fail(connected);
        if (const int greeting = exchange(QByteArray()))
            return greeting;
        // A refusal ends the logon here: the user name and password never go out in clear text.
        if (m_secure) {
            if (const int result = secureSession())
                return result;
        }
    }
    if (!m_user.isEmpty()) {
        if (const int result = exchange("USER", m_user))
            return result;
    }
    if (const int result = exchange("PASS", m_password))
        return result;
    if (m_transferMode == tmASCII)
        return exchange("TYPE A");
    if (m_transferMode == tmBinary)
        return exchange("TYPE I");
    return 0;
}

int TFTP::secureSession()
{
    if (const int result = exchange("AUTH", QStringLiteral("TLS")))
        return result;
    trail(2, QStringLiteral("Securing the connection."));
    if (const int secured = m_control->startTlsAndWait(m_remoteHost, m_caFile))
        return fail(secured, secured == CIPPort::TlsFailed ? m_control->tlsErrorText() : QString());
    if (const int result = exchange("PBSZ", QStringLiteral("0")))
        return result;
    return exchange("PROT", QStringLiteral("P"));
}

int TFTP::logoff()
{
    if (!m_control->hasSocket())
        return 0;
    int result = 0;
    if (m_control->isConnected())
        result = exchange("QUIT");
    if (result != 0)
        trail(2, QStringLiteral("Forcing disconnection from FTP server."));
    m_control->disconnectSocket(0);
    return result;
}

int TFTP::upload()
{
    if (m_localFile.isEmpty())
        return fail(LocalFileError, QStringLiteral("Please specify a local file for upload."));
    QFile file(m_localFile);
    if (!QFileInfo(m_localFile).isFile() || !file.open(QIODevice::ReadOnly))
        return fail(LocalFileError, QStringLiteral("Error reading from local file."));
    file.close();
    m_data->prepare(CDataInterface::SendFile, m_localFile);
    m_uploading = true;
    return dataCommand("STOR", m_remoteFile);
}

int TFTP::download()
{
    m_data->prepare(m_localFile.isEmpty() ? CDataInterface::ReceiveData : CDataInterface::ReceiveFile, m_localFile);
    return dataCommand("RETR", m_remoteFile);
}

int TFTP::list(const QByteArray& command)
{
    m_data->prepare(CDataInterface::ReceiveLines, QString());
    m_listingTooLong = false;
    const int result = dataCommand(command, m_remoteFile);
    if (!m_listingTooLong)
        return result;
    // The server may still be sending it and its replies: the session ends with the listing.
    m_control->disconnectSocket(0);
    return fail(TooLong, listingTooLongText());
}

QString TFTP::listingTooLongText()
{
    return QStringLiteral("The server's listing is longer than %1 MB; it was not read further.")
        .arg(MaxListingBytes / (1024 * 1024));
}

int TFTP::simple(const QByteArray& command, const QString& argument)
{
    return exchange(command, argument);
}

int TFTP::changeDirectory()
{
    if (m_remotePath == QLatin1String(".."))
        return exchange("CDUP");
    return exchange("CWD", m_remotePath);
}

int TFTP::abortTransfer()
{
    // No more data goes out; the server closes the data connection when it takes the ABOR, which
    // is no upload failure of its own.
    m_data->holdUpload();
    m_uploading = false;
    m_control->setInlineUrgent(true);
    // Telnet interrupt-process and data-mark, the mark sent as urgent data (the "Synch").
    const int urgent = m_control->sendUrgent(QByteArray("\xff\xf4\xff\xf2", 4));
    m_aborting = true;
    m_abortGivenUp = false;
    struct Aborting
    {
        bool& flag;
        ~Aborting() { flag = false; }
    } aborting{m_aborting};
    int result = urgent == 0 ? exchange("ABOR") : fail(urgent);
    // A line read while the connection was being given up (the closing delivery) is no answer to
    // the ABOR: the abort ends as interrupted.
    if (m_abortGivenUp && result == 0)
        result = fail(CIPPortMsg::Interrupted);
    m_data->shutDown();
    return result;
}

int TFTP::openDataPort()
{
    m_data->stopListening();
    if (m_data->hasSocket())
        m_data->disconnectSocket(0);
    m_data->setSecure(m_secure, m_remoteHost, m_caFile);
    // The server connects from the address it was reached at, to the address it was reached from.
    if (const int listening = m_data->listen(m_control->localAddress(), m_control->remoteAddress()))
        return fail(listening);
    const QByteArray argument = portArgument(m_control->localAddress(), m_data->listeningPort());
    return exchange("PORT", QString::fromLatin1(argument));
}

int TFTP::dataCommand(const QByteArray& command, const QString& argument)
{
    if (const int port = openDataPort())
        return port;
    if (const int result = exchange(command, argument))
        return result;
    waitForDataClose();
    if (m_uploading && m_data->uploadError() != 0)
        return fail(m_data->uploadError(), m_data->uploadErrorText());
    return 0;
}

void TFTP::waitForDataClose()
{
    // The final reply may be read before the data connection's last bytes and its close.
    QCoreApplication::processEvents();
    NetworkWait wait;
    m_dataWait = &wait;
    while (m_data->hasSocket() && !wait.interrupted() && !m_listingTooLong)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    m_dataWait = nullptr;
}

int TFTP::exchange(const QByteArray& command, const QString& argument)
{
    m_pendingDescription.clear();
    const bool isAbort = command == "ABOR";
    if (!command.isEmpty() || !argument.isEmpty()) {
        if (hasLineBreak(argument))
            return fail(LineBreakInValue, lineBreakText());
        QByteArray line = command;
        if (!argument.isEmpty())
            line += (command.isEmpty() ? QByteArray() : QByteArray(" ")) + argument.toLocal8Bit();
        trail(0, QString::fromLocal8Bit(line));
        if (const int sent = m_control->sendAll(line + CRLF))
            return fail(sent);
    }
    FtpReplyReader reader(isAbort);
    qsizetype replyBytes = 0;
    for (;;) {
        if (const int waited = m_control->waitForReply())
            return fail(waited, m_pendingDescription);
        const QByteArray reply = m_control->replyBuffer();
        replyBytes += reply.size() + 2;
        if (replyBytes > MaxReplyBytes) {
            // The rest of the reply is never read: the connection is given up with it.
            m_control->disconnectSocket(0);
            return fail(TooLong,
                QStringLiteral("The server's reply is longer than %1 KB; it was not read further.")
                    .arg(MaxReplyBytes / 1024));
        }
        trail(1, QString::fromLocal8Bit(reply));
        switch (reader.put(reply)) {
        case FtpReplyReader::Verdict::More:
            if (reply.startsWith('1'))
                m_data->transferAcknowledged();
            // The server is ready for the file once it answers STOR with a preliminary reply.
            if (m_uploading && command == "STOR" && reply.startsWith('1'))
                m_data->startSending();
            continue;
        case FtpReplyReader::Verdict::Success:
            return 0;
        case FtpReplyReader::Verdict::Failure:
            return fail(ReplyFailed, QString::fromLocal8Bit(reply));
        }
    }
}

NetResult TFTP::result() const
{
    switch (m_errorCode) {
    case 0:
        return {};
    case ReplyFailed:
        return {NetResult::Kind::FtpReply, m_errorCode, m_errorDescription};
    case LocalFileError:
        return {NetResult::Kind::File, m_errorCode, m_errorDescription};
    case Busy:
    case LineBreakInValue:
    case TooLong:
        return {NetResult::Kind::Client, m_errorCode, m_errorDescription};
    default:
        return {NetResult::fromPort(m_errorCode).kind, m_errorCode, m_errorDescription};
    }
}

int TFTP::fail(int code, const QString& description)
{
    if (code == 0)
        return 0;
    m_errorCode = code;
    if (code == CIPPortMsg::Interrupted)
        m_errorDescription = QStringLiteral("Interrupted");
    else
        m_errorDescription = description.isEmpty() ? CIPPort::describe(code) : description;
    return code;
}

void TFTP::raiseIfFailed(int code)
{
    if (code != 0 && m_raiseErrors)
        throw EFTP(m_errorCode, m_errorDescription);
}

void TFTP::trail(int direction, const QString& text)
{
    emit OnFirePITrail(direction, text);
}

void TFTP::dataStarted()
{
    emit OnStartTransfer();
}

void TFTP::dataTransfer(qint64 count, const QByteArray& piece)
{
    emit OnTransfer(count, piece);
}

void TFTP::dataLine(const QByteArray& line)
{
    if (m_listingTooLong)
        return;
    if (m_data->transferred() > MaxListingBytes) {
        m_listingTooLong = true;
        m_data->shutDown();
        return;
    }
    emit OnDirList(QString::fromLocal8Bit(line));
}

void TFTP::dataEnded()
{
    emit OnEndTransfer();
}

void TFTP::dataError(int code, const QString& text)
{
    emit OnError(code, text);
}
