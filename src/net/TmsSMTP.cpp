#include "net/TmsSMTP.h"

#include "net/MailErrors.h"
#include "net/MailMessages.h"
#include "net/TmsMessage.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryFile>

#include <exception>

TmsSMTP::TmsSMTP(QObject* parent)
    : TagSocket(parent)
{
    Service = QStringLiteral("smtp");
    DefaultPort = 25;
}

void TmsSMTP::expect(int code, int klass)
{
    if (code / 100 != klass)
        raiseServerError();
}

void TmsSMTP::connectAndGreet()
{
    if (Server.isEmpty())
        throw EMessageError(MailMessages::ServerRequired, MailMessages::text(MailMessages::ServerRequired));
    resetSession();
    Open();
    Connect();
    expect(GetReply(), 2);
    SendLine(QStringLiteral("HELO ") + LocalHostName);
    if (GetReply() / 100 != 2) {
        SendLine(QStringLiteral("HELO"));
        expect(GetReply(), 2);
    }
}

void TmsSMTP::Send()
{
    std::exception_ptr failure;
    try {
        if (!Connected())
            connectAndGreet();
        SendMail();
    } catch (...) {
        failure = std::current_exception();
    }
    Disconnect();
    if (failure)
        std::rethrow_exception(failure);
}

void TmsSMTP::sendRecipient(const QString& address)
{
    SendLine(QStringLiteral("RCPT TO:<") + address + QLatin1Char('>'));
    if (GetReply() / 100 == 2)
        return;
    bool accept = false;
    emit OnAddressRejected(address, accept, ReplyText);
    if (!accept)
        raiseServerError();
}

void TmsSMTP::SendMail()
{
    if (!MailMessage)
        throw EMessageError(MailMessages::MailMessageRequired, MailMessages::text(MailMessages::MailMessageRequired));
    const TmsMessage& message = *MailMessage;
    message.Validate();

    // Private to the user (0600), a unique name, removed when it goes out of scope.
    QTemporaryFile stream(QDir::tempPath() + QStringLiteral("/msXXXXXX"));
    if (!stream.open())
        throw ECreateError(stream.fileTemplate());
    emit OnPrepare();
    message.Encode(stream);
    stream.flush();
    emit OnSending();

    if (!message.Sender.Address.isEmpty()) {
        SendLine(QStringLiteral("MAIL FROM:<") + message.Sender.Address + QLatin1Char('>'));
        expect(GetReply(), 2);
    }
    if (EnvelopeRecipients.isEmpty()) {
        for (const TmsAddressList* list : {&message.Recipients, &message.CC, &message.BCC})
            for (const TmsMailAddress& address : *list)
                sendRecipient(address.Address);
    } else {
        for (const QString& address : EnvelopeRecipients)
            sendRecipient(address);
    }
    SendLine(QStringLiteral("DATA"));
    expect(GetReply(), 3);
    SendStream(stream);
    SendLine(QString());
    SendLine(QStringLiteral("."));
    expect(GetReply(), 2);
    emit OnMailSent();
}

void TmsSMTP::Disconnect()
{
    if (!Connected())
        return;
    QCoreApplication::processEvents();
    try {
        SendLine(QStringLiteral("QUIT"));
        const int code = GetReply();
        Close();
        expect(code, 2);
    } catch (...) {
        Close();
        throw;
    }
}
