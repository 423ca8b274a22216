// Settings: the SMTP server, sender, proxy and port of the Check / Options page, and the secure
// mail and web settings below them (the password lives in the keyring, never in the file).
#include "app/TForm1.h"

#include "app/MailPassword.h"
#include "app/TftpForm1.h"

#include "core/Errors.h"
#include "core/ProfileFile.h"
#include "net/TFTP.h"
#include "net/THTTP.h"

#include <QComboBox>
#include <QDir>
#include <QLineEdit>

namespace {

const QString Settings = QStringLiteral("SETTINGS");

QString settingsPath(const QString& basedir)
{
    return basedir + QLatin1String("/cat/settings.dat");
}

// The proxy port as a number. A text that is no port number at all (not a whole number, or one
// that does not fit a port) is the conversion error, never a port silently cut to 16 bits.
quint16 proxyPort(const QString& text)
{
    const int port = toInteger(text);
    if (port < 0 || port > 65535)
        throw EConvertError(text);
    return static_cast<quint16>(port);
}

} // namespace

void TForm1::getsettings()
{
    const ProfileFile file(settingsPath(basedir));
    smtpedit->setText(file.readString(Settings, QStringLiteral("SMTP")));
    emailedit->setText(file.readString(Settings, QStringLiteral("EMAIL")));
    nameedit->setText(file.readString(Settings, QStringLiteral("NAME")));
    proxyedit->setText(file.readString(Settings, QStringLiteral("PROXY")));
    portedit->setText(file.readString(Settings, QStringLiteral("PORT"), QStringLiteral("80")));
    const int security = smtpsecurity->findText(file.readString(Settings, QStringLiteral("SECURITY")));
    smtpsecurity->setCurrentIndex(security < 0 ? 0 : security);
    smtpuser->setText(file.readString(Settings, QStringLiteral("USER")));
    cafileedit->setText(file.readString(Settings, QStringLiteral("CAFILE")));
    HTTP1->setCAFile(cafileedit->text());
    ftpForm1->FTP1->setCAFile(cafileedit->text());
    if (smtppassword->text().isEmpty()) {
        MailPassword::read(smtpuser->text(), smtppassword, [this](const QString& password) {
            if (smtppassword->text().isEmpty())
                smtppassword->setText(password);
        });
    }
    timeoutedit->setText(file.readString(Settings, QStringLiteral("TIMEOUT"), QString::number(DefaultStallSeconds)));
    // The port is converted last, so a bad value already shows in its field when the error comes.
    HTTP1->setProxyServer(proxyedit->text());
    HTTP1->setProxyPort(proxyPort(portedit->text()));
}

void TForm1::savesettings()
{
    // Typed settings are never lost to a missing folder: it is made, as saving a record makes data.
    QDir(basedir).mkdir(QStringLiteral("cat"));
    ProfileFile file(settingsPath(basedir));
    file.writeString(Settings, QStringLiteral("SMTP"), smtpedit->text());
    file.writeString(Settings, QStringLiteral("EMAIL"), emailedit->text());
    file.writeString(Settings, QStringLiteral("NAME"), nameedit->text());
    file.writeString(Settings, QStringLiteral("PROXY"), proxyedit->text());
    file.writeString(Settings, QStringLiteral("PORT"), portedit->text());
    // Keys beyond the original five only once they hold something, so an untouched file stays as it was.
    const std::pair<const char*, QString> secure[] = {
        {"SECURITY", smtpsecurity->currentIndex() > 0 ? smtpsecurity->currentText() : QString()},
        {"USER", smtpuser->text()},
        {"CAFILE", cafileedit->text()},
    };
    for (const auto& [key, value] : secure) {
        if (!value.isEmpty() || !file.readString(Settings, QString::fromLatin1(key)).isEmpty())
            file.writeString(Settings, QString::fromLatin1(key), value);
    }
    // The file keeps its five keys until the time-out is set to something other than its default.
    const QString absent = QStringLiteral("\x01");
    if (timeoutedit->text() != QString::number(DefaultStallSeconds)
        || file.readString(Settings, QStringLiteral("TIMEOUT"), absent) != absent)
        file.writeString(Settings, QStringLiteral("TIMEOUT"), timeoutedit->text());
    file.commit();
    MailPassword::write(smtpuser->text(), smtppassword->text());
}

void TForm1::FormShow()
{
    getsettings();
}

void TForm1::FormClose()
{
    savesettings();
}

void TForm1::settingsExit()
{
    savesettings();
}
