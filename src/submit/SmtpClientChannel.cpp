#include "submit/SmtpClientChannel.h"

#include "net/TmsMessage.h"
#include "net/TmsSMTP.h"

SmtpClientChannel::SmtpClientChannel(TmsSMTP& client, TmsMessage& message, Body body)
    : m_client(client)
    , m_message(message)
    , m_bodyRule(body)
{
}

void SmtpClientChannel::cancel()
{
    m_client.Cancel();
}

void SmtpClientChannel::takeSettings(const QString& server, const QString& address, const QString& name)
{
    m_server = server;
    m_address = address;
    m_name = name;
}

void SmtpClientChannel::takeSecurity(
    const QString& security, const QString& user, const QString& password, const QString& caFile)
{
    m_security = security;
    m_user = user;
    m_password = password;
    m_caFile = caFile;
}

NetResult SmtpClientChannel::send()
{
    return encodeTo({});
}

NetResult SmtpClientChannel::encodeTo(const std::function<void(const QByteArray&)>& keep)
{
    if (m_sending)
        return {};
    m_client.Server = m_server;
    m_client.Security = smtpSecurityFromText(m_security);
    m_client.User = m_user;
    m_client.Password = smtpPassword(m_password);
    m_client.CAFile = m_caFile;
    m_client.MailMessage = &m_message;
    m_client.setWinsockLoaded(true);
    m_message.Sender = {m_name.left(255), m_address.left(255)};
    m_message.Recipients.Clear();
    m_message.Recipients.Add(m_recipient);
    m_message.setSubject(m_subject);
    m_message.Body = m_bodyRule == Body::AsMemoHoldsIt ? m_memo.entries(m_body) : m_body;
    m_sending = true;
    const struct Sent
    {
        bool& sending;
        ~Sent() { sending = false; }
    } sent{m_sending};
    return keep ? m_client.encode(keep) : m_client.deliver();
}
