// TFTP's data connection: uploads, downloads and listings over PORT, and ABOR.
#include "net/TFTP.h"

#include "net/NetworkWait.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

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
