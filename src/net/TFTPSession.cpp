// TFTP's control connection: log-on (with TLS when asked), log-off and the command/reply exchange.
#include "net/TFTP.h"

#include "net/FtpReplyReader.h"

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
        if (const int sent = m_control->sendAll(line + "\r\n"))
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
