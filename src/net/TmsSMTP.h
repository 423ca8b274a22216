#pragma once

#include "net/TagSocket.h"

#include <QStringList>

class TmsMessage;

// The SMTP client: each Send is one whole session (connect, greeting, HELO, MAIL, RCPT..., DATA,
// QUIT). The encoded message goes through a temporary file private to the user, deleted whatever
// happens.
class TmsSMTP : public TagSocket
{
    Q_OBJECT

public:
    explicit TmsSMTP(QObject* parent = nullptr);

    TmsMessage* MailMessage = nullptr;
    QStringList EnvelopeRecipients;

    // Connect-and-greet when not connected, SendMail, and Disconnect in every case. When both
    // the send and the QUIT fail, the QUIT's error is the one raised.
    void Send();
    void SendMail();
    // QUIT (a reply other than 2xx raises EServerError) and close; nothing when not connected.
    void Disconnect();

signals:
    void OnPrepare();
    void OnSending();
    void OnMailSent();
    // accept starts false; a handler that sets it lets the send go on to the next recipient.
    void OnAddressRejected(const QString& address, bool& accept, const QString& replyText);

private:
    void connectAndGreet();
    void expect(int code, int klass);
    void sendRecipient(const QString& address);
};
