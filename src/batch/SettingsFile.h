#pragma once

#include <QString>

#include <functional>

// cat/settings.dat: the mail server, sender, proxy and port of the Check / Options page, and the
// secure mail and web settings below them (the password lives in the keyring, never in the file).
struct Settings
{
    QString smtp;
    QString email;
    QString name;
    QString proxy;
    QString port;
    QString security; // "None", "STARTTLS" or "TLS"
    QString user;
    QString caFile;
    QString timeout;

    static constexpr int DefaultTimeout = 120;

    // The settings of basedir; a missing file or key gives the defaults, a security that is none
    // of the three gives "None".
    static Settings read(const QString& basedir);
    // The proxy port as a number. A text that is no port number at all (not a whole number, or one
    // that does not fit a port) raises the conversion error, never a port silently cut to 16 bits.
    static quint16 portNumber(const QString& text);
    // Writes them, making the cat folder when it is missing.
    void write(const QString& basedir) const;

    // The settings from, and into, the controls of the Check / Options page that show them, by name
    // (smtpedit, emailedit, nameedit, proxyedit, portedit, smtpsecurity, smtpuser, cafileedit,
    // timeoutedit).
    static Settings fromControls(const std::function<QString(const QString& control)>& text);
    void toControls(const std::function<void(const QString& control, const QString& text)>& setText) const;
};
