#include "batch/SettingsFile.h"

#include "core/Errors.h"
#include "core/ProfileFile.h"

#include <QDir>
#include <QStringList>

namespace {

const QString Section = QStringLiteral("SETTINGS");

QString settingsPath(const QString& basedir)
{
    return basedir + QLatin1String("/cat/settings.dat");
}

const QStringList& securities()
{
    static const QStringList names{QStringLiteral("None"), QStringLiteral("STARTTLS"), QStringLiteral("TLS")};
    return names;
}

// Each setting under the name of the control that shows it.
struct ShownSetting
{
    const char* control;
    QString Settings::*value;
};

constexpr ShownSetting shown[] = {
    {"smtpedit", &Settings::smtp},
    {"emailedit", &Settings::email},
    {"nameedit", &Settings::name},
    {"proxyedit", &Settings::proxy},
    {"portedit", &Settings::port},
    {"smtpsecurity", &Settings::security},
    {"smtpuser", &Settings::user},
    {"cafileedit", &Settings::caFile},
    {"timeoutedit", &Settings::timeout},
};

} // namespace

Settings Settings::fromControls(const std::function<QString(const QString& control)>& text)
{
    Settings s;
    for (const ShownSetting& setting : shown)
        s.*setting.value = text(QString::fromLatin1(setting.control));
    return s;
}

void Settings::toControls(const std::function<void(const QString& control, const QString& text)>& setText) const
{
    for (const ShownSetting& setting : shown)
        setText(QString::fromLatin1(setting.control), this->*setting.value);
}

Settings Settings::read(const QString& basedir)
{
    const ProfileFile file(settingsPath(basedir));
    Settings s;
    s.smtp = file.readString(Section, QStringLiteral("SMTP"));
    s.email = file.readString(Section, QStringLiteral("EMAIL"));
    s.name = file.readString(Section, QStringLiteral("NAME"));
    s.proxy = file.readString(Section, QStringLiteral("PROXY"));
    s.port = file.readString(Section, QStringLiteral("PORT"), QStringLiteral("80"));
    const QString security = file.readString(Section, QStringLiteral("SECURITY"));
    s.security = securities().contains(security) ? security : securities().front();
    s.user = file.readString(Section, QStringLiteral("USER"));
    s.caFile = file.readString(Section, QStringLiteral("CAFILE"));
    s.timeout = file.readString(Section, QStringLiteral("TIMEOUT"), QString::number(DefaultTimeout));
    return s;
}

void Settings::write(const QString& basedir) const
{
    // Typed settings are never lost to a missing folder: it is made, as saving a record makes data.
    QDir(basedir).mkdir(QStringLiteral("cat"));
    ProfileFile file(settingsPath(basedir));
    file.writeString(Section, QStringLiteral("SMTP"), smtp);
    file.writeString(Section, QStringLiteral("EMAIL"), email);
    file.writeString(Section, QStringLiteral("NAME"), name);
    file.writeString(Section, QStringLiteral("PROXY"), proxy);
    file.writeString(Section, QStringLiteral("PORT"), port);
    // Keys beyond the original five only once they hold something, so an untouched file stays as it was.
    const std::pair<const char*, QString> secure[] = {
        {"SECURITY", security == securities().front() ? QString() : security},
        {"USER", user},
        {"CAFILE", caFile},
    };
    for (const auto& [key, value] : secure) {
        if (!value.isEmpty() || !file.readString(Section, QString::fromLatin1(key)).isEmpty())
            file.writeString(Section, QString::fromLatin1(key), value);
    }
    // The file keeps its five keys until the time-out is set to something other than its default.
    const QString absent = QStringLiteral("\x01");
    if (timeout != QString::number(DefaultTimeout)
        || file.readString(Section, QStringLiteral("TIMEOUT"), absent) != absent)
        file.writeString(Section, QStringLiteral("TIMEOUT"), timeout);
    file.commit();
}

quint16 Settings::portNumber(const QString& text)
{
    const int port = toInteger(text);
    if (port < 0 || port > 65535)
        throw EConvertError(text);
    return static_cast<quint16>(port);
}
