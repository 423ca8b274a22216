#include "net/TmsSMTP.h"

#include "net/MailErrors.h"
#include "net/MailMessages.h"
#include "net/MailResult.h"
#include "net/MailSpool.h"
#include "net/TmsMessage.h"

#include <QBuffer>
#include <QCoreApplication>

#include <exception>

SmtpSecurity smtpSecurityFromText(const QString& text)
{
    if (text.compare(QLatin1String("STARTTLS"), Qt::CaseInsensitive) == 0)
        return SmtpSecurity::StartTls;
    if (text.compare(QLatin1String("TLS"), Qt::CaseInsensitive) == 0)
        return SmtpSecurity::Tls;
    return SmtpSecurity::None;
}

QString smtpPassword(const QString& given)
{
    const QString fromEnvironment = qEnvironmentVariable("QUILLET_SMTP_PASSWORD");
    return fromEnvironment.isEmpty() ? given : fromEnvironment;
}

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
    const bool implicitTls = Security == SmtpSecurity::Tls || port() == 465;
    if (implicitTls)
        StartTLS();
    expect(GetReply(), 2);
    if (!implicitTls && Security == SmtpSecurity::None && User.isEmpty()) {
        greetWithHelo();
        return;
    }

    QByteArrayList extensions;
    if (!greetWithEhlo(&extensions)) {
        if (Security == SmtpSecurity::StartTls)
            refuse(QStringLiteral("The server %1 refuses EHLO, so it cannot secure the session with STARTTLS.")
                       .arg(Server));
        if (!User.isEmpty())
            refuse(QStringLiteral("The server %1 refuses EHLO, so it cannot log you in.").arg(Server));
        greetWithHelo();
        return;
    }
    if (!Secure() && (Security == SmtpSecurity::StartTls || extensions.contains("STARTTLS"))) {
        if (!extensions.contains("STARTTLS"))
            refuse(QStringLiteral("The server %1 does not offer STARTTLS; nothing was sent.").arg(Server));
        SendLine(QStringLiteral("STARTTLS"));
        if (GetReply() != 220)
            refuse(QStringLiteral("The server %1 refused STARTTLS: %2").arg(Server, ReplyText));
        StartTLS();
        if (!greetWithEhlo(&extensions))
            raiseServerError();
    }
    if (!User.isEmpty()) {
        if (!Secure())
            refuse(QStringLiteral("The server %1 offers no STARTTLS, and your log-in never goes over an unencrypted "
                                  "connection; nothing was sent. Set Security to STARTTLS or TLS for a server that "
                                  "secures the session.")
                       .arg(Server));
        logIn(extensions);
    }
}

void TmsSMTP::greetWithHelo()
{
    SendLine(QStringLiteral("HELO ") + LocalHostName);
    if (GetReply() / 100 != 2) {
        SendLine(QStringLiteral("HELO"));
        expect(GetReply(), 2);
    }
}

bool TmsSMTP::greetWithEhlo(QByteArrayList* extensions)
{
    SendLine(QStringLiteral("EHLO ") + LocalHostName);
    extensions->clear();
    if (GetReply() / 100 != 2)
        return false;
    // The first line greets; each later one names an extension and its parameters. AUTH lists its
    // mechanisms, which are kept as "AUTH <mechanism>".
    for (qsizetype i = 1; i < ReplyLines.size(); ++i) {
        const QByteArrayList words = ReplyLines[i].mid(4).trimmed().toUpper().split(' ');
        const QByteArray keyword = words.value(0);
        extensions->append(keyword);
        if (keyword == "AUTH") {
            for (qsizetype w = 1; w < words.size(); ++w)
                extensions->append("AUTH " + words[w]);
        }
    }
    return true;
}

void TmsSMTP::logIn(const QByteArrayList& extensions)
{
    const QByteArray user = User.toUtf8();
    const QByteArray password = Password.toUtf8();
    const QString hidden = QStringLiteral("********");
    if (extensions.contains("AUTH PLAIN")) {
        const QByteArray token = (QByteArray(1, '\0') + user + '\0' + password).toBase64();
        SendSecretLine("AUTH PLAIN " + token, QStringLiteral("AUTH PLAIN ") + hidden);
        expect(GetReply(), 2);
        return;
    }
    if (extensions.contains("AUTH LOGIN")) {
        SendLine(QStringLiteral("AUTH LOGIN"));
        expect(GetReply(), 3);
        SendSecretLine(user.toBase64(), hidden);
        expect(GetReply(), 3);
        SendSecretLine(password.toBase64(), hidden);
        expect(GetReply(), 2);
        return;
    }
    refuse(QStringLiteral("The server %1 offers no log-in this program knows (AUTH PLAIN or LOGIN).").arg(Server));
}

void TmsSMTP::refuse(const QString& text)
{
    throw EServerError(text);
}

namespace {

// The one place the mail client's raised errors become its result.
template <typename Session>
NetResult attempt(Session&& session)
{
    try {
        session();
    } catch (const QuilletError& error) {
        return MailResult::of(error);
    }
    return {};
}

} // namespace

NetResult TmsSMTP::deliver()
{
    return attempt([this] { sendSession(); });
}

void TmsSMTP::Send()
{
    if (const NetResult result = deliver(); !result.ok())
        MailResult::raise(result);
}

NetResult TmsSMTP::encode(const std::function<void(const QByteArray&)>& keep)
{
    return attempt([&] { encodeSession(keep); });
}

void TmsSMTP::EncodeTo(const std::function<void(const QByteArray&)>& keep)
{
    if (const NetResult result = encode(keep); !result.ok())
        MailResult::raise(result);
}

void TmsSMTP::sendSession()
{
    checkEnvelope();
    std::exception_ptr failure;
    try {
        if (!Connected())
            connectAndGreet();
        SendMail();
    } catch (...) {
        failure = std::current_exception();
    }
    if (failure) {
        Disconnect();
        std::rethrow_exception(failure);
    }
    // The server took the message with its answer to the end of data: that is the delivery. A
    // QUIT left unanswered changes nothing, and failing here would have the mail sent twice.
    try {
        Disconnect();
    } catch (const EMailError&) {
        Close();
    }
}

void TmsSMTP::checkEnvelope() const
{
    QStringList addresses = EnvelopeRecipients;
    if (MailMessage) {
        addresses << MailMessage->Sender.Address;
        if (EnvelopeRecipients.isEmpty())
            for (const TmsAddressList* list : {&MailMessage->Recipients, &MailMessage->CC, &MailMessage->BCC})
                for (const TmsMailAddress& address : *list)
                    addresses << address.Address;
    }
    for (const QString& address : addresses) {
        if (!isEnvelopeAddress(address))
            throw EMessageError(MailMessages::InvalidAddress,
                QStringLiteral("The address \"%1\" holds a space, a comma, \"<\", \">\" or a line break and cannot "
                               "go into the mail's envelope; nothing was sent.")
                    .arg(address));
    }
}

bool TmsSMTP::isEnvelopeAddress(const QString& address)
{
    for (const QChar c : address) {
        if (c.isSpace() || c == QLatin1Char(',') || c == QLatin1Char('<') || c == QLatin1Char('>') || c.unicode() < 0x20
            || c.unicode() == 0x7f)
            return false;
    }
    return true;
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

    // Encoded in memory: the message never lands on disk, where another process could read it
    // or a killed run would leave it behind, and a mail costs no file.
    MailSpool stream;
    emit OnPrepare();
    message.Encode(stream);
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

void TmsSMTP::encodeSession(const std::function<void(const QByteArray&)>& keep)
{
    if (!MailMessage)
        throw EMessageError(MailMessages::MailMessageRequired, MailMessages::text(MailMessages::MailMessageRequired));
    MailMessage->Validate();
    QByteArray bytes;
    QBuffer stream(&bytes);
    stream.open(QIODevice::WriteOnly);
    emit OnPrepare();
    MailMessage->Encode(stream);
    stream.close();
    emit OnSending();
    keep(bytes);
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
