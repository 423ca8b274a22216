// Settings: the SMTP server, sender, proxy and port of the Check / Options page, and the secure
// mail and web settings below them (the password lives in the keyring, never in the file).
#include "app/RecordStore.h"

#include "app/MailPassword.h"
#include "app/OptionsPage.h"
#include "app/RunController.h"
#include "core/ProfileFile.h"

#include <QComboBox>
#include <QDir>
#include <QLineEdit>

namespace {

const QString Settings = QStringLiteral("SETTINGS");

QString settingsPath(const QString& basedir)
{
    return basedir + QLatin1String("/cat/settings.dat");
}

} // namespace

void RecordStore::readSettings()
{
    const OptionsPage& o = m_options;
    const ProfileFile file(settingsPath(m_basedir));
    o.smtpedit()->setText(file.readString(Settings, QStringLiteral("SMTP")));
    o.emailedit()->setText(file.readString(Settings, QStringLiteral("EMAIL")));
    o.nameedit()->setText(file.readString(Settings, QStringLiteral("NAME")));
    o.proxyedit()->setText(file.readString(Settings, QStringLiteral("PROXY")));
    o.portedit()->setText(file.readString(Settings, QStringLiteral("PORT"), QStringLiteral("80")));
    const int security = o.smtpsecurity()->findText(file.readString(Settings, QStringLiteral("SECURITY")));
    o.smtpsecurity()->setCurrentIndex(security < 0 ? 0 : security);
    o.smtpuser()->setText(file.readString(Settings, QStringLiteral("USER")));
    o.cafileedit()->setText(file.readString(Settings, QStringLiteral("CAFILE")));
    QLineEdit* password = o.smtppassword();
    if (password->text().isEmpty()) {
        MailPassword::read(o.smtpuser()->text(), password, [password](const QString& stored) {
            if (password->text().isEmpty())
                password->setText(stored);
        });
    }
    o.timeoutedit()->setText(
        file.readString(Settings, QStringLiteral("TIMEOUT"), QString::number(RunController::DefaultStallSeconds)));
}

void RecordStore::savesettings()
{
    const OptionsPage& o = m_options;
    // Typed settings are never lost to a missing folder: it is made, as saving a record makes data.
    QDir(m_basedir).mkdir(QStringLiteral("cat"));
    ProfileFile file(settingsPath(m_basedir));
    file.writeString(Settings, QStringLiteral("SMTP"), o.smtpedit()->text());
    file.writeString(Settings, QStringLiteral("EMAIL"), o.emailedit()->text());
    file.writeString(Settings, QStringLiteral("NAME"), o.nameedit()->text());
    file.writeString(Settings, QStringLiteral("PROXY"), o.proxyedit()->text());
    file.writeString(Settings, QStringLiteral("PORT"), o.portedit()->text());
    // Keys beyond the original five only once they hold something, so an untouched file stays as it was.
    const std::pair<const char*, QString> secure[] = {
        {"SECURITY", o.smtpsecurity()->currentIndex() > 0 ? o.smtpsecurity()->currentText() : QString()},
        {"USER", o.smtpuser()->text()},
        {"CAFILE", o.cafileedit()->text()},
    };
    for (const auto& [key, value] : secure) {
        if (!value.isEmpty() || !file.readString(Settings, QString::fromLatin1(key)).isEmpty())
            file.writeString(Settings, QString::fromLatin1(key), value);
    }
    // The file keeps its five keys until the time-out is set to something other than its default.
    const QString absent = QStringLiteral("\x01");
    const QString timeout = o.timeoutedit()->text();
    if (timeout != QString::number(RunController::DefaultStallSeconds)
        || file.readString(Settings, QStringLiteral("TIMEOUT"), absent) != absent)
        file.writeString(Settings, QStringLiteral("TIMEOUT"), timeout);
    file.commit();
    MailPassword::write(o.smtpuser()->text(), o.smtppassword()->text());
}
