#pragma once

#include <QString>

#include <functional>

class QObject;

// The mail log-in password in the desktop's keyring (QtKeychain), one entry per user name. Where
// no keyring runs, reading finds nothing and writing keeps nothing: batch mode then takes the
// password from QUILLET_SMTP_PASSWORD. The password never goes into a settings file.
namespace MailPassword {

// Starts reading; done(password) runs later, with context alive, only when the keyring has one.
void read(const QString& user, QObject* context, std::function<void(const QString&)> done);
// Stores the password, waiting at most a few seconds for the keyring to take it.
void write(const QString& user, const QString& password);

} // namespace MailPassword
