#include "net/TFTP.h"

#include "net/FtpHost.h"
#include "net/NetworkWait.h"

#include <arpa/inet.h>

namespace {

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
    const int resolved = m_control->lookUpAndWait(name, &address);
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
    raiseIfFailed(act(action));
}

NetResult TFTP::run(int action)
{
    return act(action) == 0 ? NetResult() : result();
}

int TFTP::act(int action)
{
    if (action < ftpIdle || action > ftpCommand)
        throw QuilletError(QStringLiteral("Invalid Action Value"));
    m_errorCode = 0;
    m_errorDescription.clear();

    if (action == ftpIdle) {
        m_control->interrupt();
        if (m_dataWait)
            m_dataWait->interrupt();
        return 0;
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
            return 0;
        }
        return abortTransfer();
    }
    if (isBusy())
        return fail(Busy, BusyText);
    if (const int refused = checkValues(action))
        return refused;

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
    return result;
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
        return {CIPPort::result(m_errorCode).kind, m_errorCode, m_errorDescription};
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
