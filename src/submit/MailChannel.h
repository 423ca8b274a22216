#pragma once

#include "net/NetResult.h"

#include <QByteArray>
#include <QString>

#include <functional>

// What the e-mail steps need of the mail form and its setup dialog: the message being composed
// (recipient, subject, body lines), the SMTP server the setup holds, and the send. The send returns
// how it ended as the mail client reports it (net/MailResult.h); it raises nothing of its own.
class MailChannel
{
public:
    // What showing the setup says where no one could answer it (batch mode, tests).
    static inline const QString NoServerMessage
        = QStringLiteral("No SMTP server is set for sending mail: enter it as \"SMTP Server\" in the settings.");

    virtual ~MailChannel() = default;

    // The start of a run: the settings page's server, sender address and sender name go into the
    // setup dialog.
    virtual void takeSettings(const QString& server, const QString& address, const QString& name) = 0;
    // The start of a run: how the session is secured ("None", "STARTTLS" or "TLS"), the log-in
    // (no user: none) and an authority trusted besides the system's.
    virtual void takeSecurity(
        const QString& security, const QString& user, const QString& password, const QString& caFile)
    {
        (void)security, (void)user, (void)password, (void)caFile;
    }
    // The setup dialog's SMTP server.
    virtual QString server() const = 0;
    // Shows the setup dialog modally; returns when the user has closed it.
    virtual void showSetup() = 0;

    virtual void setRecipient(const QString& address) = 0;
    virtual void setSubject(const QString& subject) = 0;
    virtual void clearBody() = 0;
    // One memo entry; an entry with line breaks keeps them and goes out as several lines.
    virtual void addBodyLine(const QString& line) = 0;

    // Copies the setup (server, sender address and name cut to 255 characters, transcript file)
    // into the client and presses the form's Send button; returns when the mail has been sent, or
    // with what ended the send.
    virtual NetResult send() = 0;
    // For a channel that stands in for this one (a preview): everything send() does, except that
    // the encoded message goes to keep instead of a server. keep may raise one of the program's
    // errors; the send ends with it.
    virtual NetResult encodeTo(const std::function<void(const QByteArray&)>& keep) = 0;
};
