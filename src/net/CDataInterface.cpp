#include "net/CDataInterface.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr int FileNotOpen = -5;
constexpr int WriteFailure = -7;
constexpr int CloseFailure = -9;
// A directory line longer than this is cut; the rest of it is dropped.
constexpr qsizetype MaxLineLength = 64 * 1024;

const QString ReadError = QStringLiteral("Error reading from local file.");
const QString SeekError = QStringLiteral("Error seeking in local file.");

} // namespace

CDataInterface::CDataInterface(Listener* listener, QObject* parent)
    : CListeningSocket(parent)
    , m_listener(listener)
{
}

CDataInterface::~CDataInterface()
{
    closeFile();
}

void CDataInterface::prepare(Mode mode, const QString& localFile)
{
    closeFile();
    m_mode = mode;
    m_localFile = localFile;
    m_count = 0;
    m_held = false;
    m_sendAllowed = false;
    m_started = false;
    m_accepted = false;
    m_acknowledged = false;
    m_tlsStarted = false;
    m_uploadError = 0;
    m_uploadErrorText.clear();
    m_line.clear();
    // Lines are cut only for listings; everything else is raw data.
    if (mode == ReceiveLines)
        setEol("\r\n", DelimiterMode::AnyChar);
    else
        setEol(QByteArray(), DelimiterMode::AnyChar);
}

void CDataInterface::startSending()
{
    m_sendAllowed = true;
    // Small blocks are held back until a full segment can go, so that 2048-byte sends cost the
    // network (and the server) no more than large ones; closing the connection sends the rest.
    const int on = 1;
    if (hasSocket())
        setsockopt(socketHandle(), IPPROTO_TCP, TCP_CORK, &on, sizeof on);
    sendBlocks();
}

void CDataInterface::shutDown()
{
    stopListening();
    m_held = true;
    if (hasSocket())
        disconnectSocket(0);
    closeFile();
}

void CDataInterface::setSecure(bool on, const QString& host, const QString& caFile)
{
    m_secure = on;
    m_tlsHost = host;
    m_tlsCaFile = caFile;
}

void CDataInterface::onAccepted()
{
    if (m_secure) {
        m_accepted = true;
        startTlsWhenReady();
        return;
    }
    beginTransfer();
}

void CDataInterface::transferAcknowledged()
{
    m_acknowledged = true;
    startTlsWhenReady();
}

void CDataInterface::startTlsWhenReady()
{
    if (!m_secure || !m_accepted || !m_acknowledged || m_tlsStarted || !hasSocket())
        return;
    m_tlsStarted = true;
    startTls(m_tlsHost, m_tlsCaFile);
}

void CDataInterface::onTlsStarted(int error)
{
    if (error == 0) {
        beginTransfer();
        return;
    }
    if (m_mode == SendFile)
        failUpload(error, tlsErrorText());
    m_listener->dataError(error, tlsErrorText());
}

void CDataInterface::beginTransfer()
{
    const QByteArray path = QFile::encodeName(m_localFile);
    if (m_mode == SendFile)
        m_fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    else if (m_mode == ReceiveFile)
        m_fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if ((m_mode == SendFile || m_mode == ReceiveFile) && m_fd < 0) {
        const int error = errno;
        if (m_mode == SendFile)
            failUpload(145, ReadError);
        m_listener->dataError(error, QStringLiteral("Error opening local file."));
    }
    m_started = true;
    m_count = 0;
    m_listener->dataStarted();
    if (m_mode == SendFile)
        sendBlocks();
}

void CDataInterface::onDisconnected(int error)
{
    if (!m_started)
        return;
    m_started = false;
    if (m_mode == ReceiveLines && !m_line.isEmpty())
        m_listener->dataLine(std::exchange(m_line, QByteArray()));
    // A close before the whole file went out means it did not arrive whole.
    if (m_mode == SendFile && m_fd >= 0) {
        const int code = error != 0 ? error : 10054;
        failUpload(code, describe(code));
    }
    closeFile();
    m_listener->dataEnded();
}

void CDataInterface::onDataIn(const QByteArray& data, bool delimited)
{
    switch (m_mode) {
    case ReceiveData:
        m_count += data.size();
        m_listener->dataTransfer(m_count, data);
        break;
    case ReceiveFile: {
        m_count += data.size();
        if (m_fd < 0) {
            m_listener->dataError(FileNotOpen, QStringLiteral("Error writing to local file."));
            break;
        }
        qsizetype done = 0;
        while (done < data.size()) {
            const ssize_t n = ::write(m_fd, data.constData() + done, size_t(data.size() - done));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0) {
                m_listener->dataError(WriteFailure, QStringLiteral("Error writing to local file."));
                break;
            }
            done += n;
        }
        m_listener->dataTransfer(m_count, QByteArray());
        break;
    }
    case ReceiveLines:
        m_count += data.size();
        if (m_line.size() < MaxLineLength)
            m_line += data.left(MaxLineLength - m_line.size());
        if (delimited)
            m_listener->dataLine(std::exchange(m_line, QByteArray()));
        break;
    case SendFile:
        break;
    }
}

void CDataInterface::onReadyToSend()
{
    sendBlocks();
}

void CDataInterface::onError(int code, const QString& text)
{
    m_listener->dataError(code, text);
}

void CDataInterface::sendBlocks()
{
    if (m_mode != SendFile || !m_sendAllowed || m_held || !isConnected() || m_fd < 0)
        return;
    if (m_secure && !isSecure())
        return;
    m_block.resize(BlockSize * BlocksPerSend);
    char* block = m_block.data();
    for (int turn = 0; turn < SendsPerTurn; ++turn) {
        const ssize_t count = ::read(m_fd, block, size_t(m_block.size()));
        if (count < 0) {
            if (errno == EINTR)
                continue;
            failUpload(144, ReadError);
            return;
        }
        if (count == 0) {
            // Everything went out: closing the connection tells the server the file is complete.
            closeFile();
            disconnectSocket(0);
            return;
        }
        const int result = send(block, count);
        if (result != 0 && result != 10035) {
            failUpload(result, describe(result));
            return;
        }
        const qint64 sent = bytesLastSent();
        if (sent < count && ::lseek(m_fd, -(count - sent), SEEK_CUR) < 0) {
            failUpload(144, SeekError);
            return;
        }
        m_count += sent;
        if (sent > 0)
            m_listener->dataTransfer(m_count, QByteArray());
        // A handler may have aborted the transfer meanwhile.
        if (m_held || m_fd < 0 || !isConnected())
            return;
        // A full socket announces through onReadyToSend() when it takes more.
        if (result == 10035)
            return;
    }
    requestReadyToSend();
}

void CDataInterface::failUpload(int code, const QString& text)
{
    m_held = true;
    if (m_uploadError == 0) {
        m_uploadError = code;
        m_uploadErrorText = text;
    }
}

void CDataInterface::closeFile()
{
    if (m_fd < 0)
        return;
    const int fd = std::exchange(m_fd, -1);
    if (::close(fd) != 0)
        m_listener->dataError(CloseFailure, QStringLiteral("Error closing local file."));
}
