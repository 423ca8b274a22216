#pragma once

#include "net/NetResult.h"
#include "net/TagSocket.h"

#include <QStringList>

#include <functional>

class TmsMessage;

// How the session is secured: not at all (the plain HELO exchange unless a user logs in), by
// STARTTLS after EHLO, or by TLS from the first byte (also whenever the port is 465).
enum class SmtpSecurity { None, StartTls, Tls };
// "STARTTLS" and "TLS" (any case); anything else is None.
SmtpSecurity smtpSecurityFromText(const QString& text);
// The log-in password: QUILLET_SMTP_PASSWORD when the environment sets it (batch mode on a
// machine without a keyring), otherwise the one given.
QString smtpPassword(const QString& given);

// The SMTP client: each Send is one whole session (connect, greeting, HELO, MAIL, RCPT..., DATA,
// QUIT). The encoded message goes through a temporary file private to the user, deleted whatever
// happens.
//
// With Security None and no User the session is the plain HELO exchange. Otherwise it greets with
// EHLO (falling back to HELO when that is refused), upgrades with STARTTLS when the server offers
// it or Security demands it, and logs in with AUTH PLAIN or LOGIN when User is set. Once TLS was
// asked for, a refusal or a failed handshake ends the session: nothing more goes out in clear text.
class TmsSMTP : public TagSocket
{
    Q_OBJECT

public:
    explicit TmsSMTP(QObject* parent = nullptr);

    TmsMessage* MailMessage = nullptr;
    QStringList EnvelopeRecipients;
    SmtpSecurity Security = SmtpSecurity::None;
    QString User;
    // Never written to the transcript.
    QString Password;

    // Checks the envelope addresses, then connect-and-greet when not connected, SendMail, and
    // Disconnect in every case. When both the send and the QUIT fail, the QUIT's error is the one
    // returned; after a mail the server took, a failed QUIT only closes the connection. Nothing is
    // raised: every failure on the way is the result (see net/MailResult.h).
    NetResult deliver();
    // deliver(), raising a failure as its mail error class.
    void Send();
    // An address that can go between "<" and ">" of MAIL FROM or RCPT TO as it is: no space,
    // comma, angle bracket, line break or other control character.
    static bool isEnvelopeAddress(const QString& address);
    void SendMail();
    // The message encoded as it would go after DATA, with the events of a send (OnPrepare,
    // OnSending, OnMailSent), handed to keep instead of a server; no connection is made. keep may
    // raise one of the program's errors: that is the result, and OnMailSent is not emitted.
    NetResult encode(const std::function<void(const QByteArray&)>& keep);
    // encode(), raising a failure as its mail error class.
    void EncodeTo(const std::function<void(const QByteArray&)>& keep);
    // QUIT (a reply other than 2xx raises EServerError) and close; nothing when not connected.
    void Disconnect();

signals:
    void OnPrepare();
    void OnSending();
    void OnMailSent();
    // accept starts false; a handler that sets it lets the send go on to the next recipient.
    void OnAddressRejected(const QString& address, bool& accept, const QString& replyText);

private:
    void sendSession();
    void encodeSession(const std::function<void(const QByteArray&)>& keep);
    void connectAndGreet();
    // Raises EMessageError (InvalidAddress) for the first envelope address that is not one.
    void checkEnvelope() const;
    void greetWithHelo();
    // EHLO; false when the server refuses it. The offered extensions' keywords, upper case.
    bool greetWithEhlo(QByteArrayList* extensions);
    void logIn(const QByteArrayList& extensions);
    [[noreturn]] void refuse(const QString& text);
    void expect(int code, int klass);
    void sendRecipient(const QString& address);
};
