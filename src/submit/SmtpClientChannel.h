#pragma once

#include "submit/MailChannel.h"
#include "submit/MemoBody.h"

#include <QStringList>

class TmsMessage;
class TmsSMTP;

// The mail channel straight over an SMTP client and its message, without the mail form: for a run
// without the window, tests and tools. Showing the setup dialog only counts the request, as there
// is none.
class SmtpClientChannel : public MailChannel
{
public:
    // How the body lines given go out: as given, or as the mail form's memo would hold them (what
    // a run through the form sends).
    enum class Body { AsGiven, AsMemoHoldsIt };

    SmtpClientChannel(TmsSMTP& client, TmsMessage& message, Body body = Body::AsGiven);

    void takeSettings(const QString& server, const QString& address, const QString& name) override;
    void takeSecurity(
        const QString& security, const QString& user, const QString& password, const QString& caFile) override;
    QString server() const override { return m_server; }
    void showSetup() override { ++setupShown; }
    void setRecipient(const QString& address) override { m_recipient = address; }
    void setSubject(const QString& subject) override { m_subject = subject; }
    void clearBody() override { m_body.clear(); }
    void addBodyLine(const QString& line) override { m_body << line; }
    NetResult send() override;
    NetResult encodeTo(const std::function<void(const QByteArray&)>& keep) override;

    // A send under way, and cancelling it (it ends with "Operation has been canceled").
    bool sending() const { return m_sending; }
    void cancel();

    QString recipient() const { return m_recipient; }
    QString subject() const { return m_subject; }
    const QStringList& body() const { return m_body; }
    int setupShown = 0;

private:
    TmsSMTP& m_client;
    TmsMessage& m_message;
    Body m_bodyRule;
    MemoBody m_memo;
    bool m_sending = false;
    QString m_server;
    QString m_address;
    QString m_name;
    QString m_security;
    QString m_user;
    QString m_password;
    QString m_caFile;
    QString m_recipient;
    QString m_subject;
    QStringList m_body;
};
