// Settings: the SMTP server, sender, proxy and port of the Check / Options page.
#include "app/TForm1.h"

#include "core/Errors.h"
#include "core/ProfileFile.h"
#include "net/THTTP.h"

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
    timeoutedit->setText(
        file.readString(Settings, QStringLiteral("TIMEOUT"), QString::number(DefaultStallSeconds)));
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
    // The file keeps its five keys until the time-out is set to something other than its default.
    const QString absent = QStringLiteral("\x01");
    if (timeoutedit->text() != QString::number(DefaultStallSeconds)
        || file.readString(Settings, QStringLiteral("TIMEOUT"), absent) != absent)
        file.writeString(Settings, QStringLiteral("TIMEOUT"), timeoutedit->text());
    file.commit();
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
