#include "batch/MailFormIni.h"

#include "core/InstalledCopy.h"
#include "core/ProfileFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

const QString Section = QStringLiteral("Setup");

int zeroOrOne(const QString& text)
{
    return text.toInt() == 1 ? 1 : 0;
}

} // namespace

QString MailFormIni::path()
{
    const QFileInfo exe(QCoreApplication::applicationFilePath());
    const QString name = exe.completeBaseName() + QStringLiteral(".ini");
    const QFileInfo folder(exe.absolutePath());
    // An installed copy never writes into its bin/ folder, even where it may (run as root).
    if (folder.isWritable() && installedDataFolder().isEmpty())
        return exe.absolutePath() + QLatin1Char('/') + name;
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) + QLatin1Char('/') + name;
}

MailFormIni::Setup MailFormIni::read()
{
    const ProfileFile ini(path());
    Setup s;
    s.server = ini.readString(Section, QStringLiteral("Server"));
    s.address = ini.readString(Section, QStringLiteral("EMail Address"));
    s.name = ini.readString(Section, QStringLiteral("Name"));
    s.logFile = ini.readString(Section, QStringLiteral("Log File"));
    s.charSet = zeroOrOne(ini.readString(Section, QStringLiteral("CharSet"), QStringLiteral("0")));
    s.encoding = zeroOrOne(ini.readString(Section, QStringLiteral("Encoding"), QStringLiteral("0")));
    return s;
}

void MailFormIni::write(const Setup& s)
{
    const QString file = path();
    QDir().mkpath(QFileInfo(file).absolutePath());
    ProfileFile ini(file);
    ini.writeString(Section, QStringLiteral("Server"), s.server);
    ini.writeString(Section, QStringLiteral("EMail Address"), s.address);
    ini.writeString(Section, QStringLiteral("Name"), s.name);
    ini.writeString(Section, QStringLiteral("Log File"), s.logFile);
    ini.writeString(Section, QStringLiteral("CharSet"), QString::number(s.charSet));
    ini.writeString(Section, QStringLiteral("Encoding"), QString::number(s.encoding));
    ini.commit();
}
