#include "pad/PadMapping.h"

#include <QStringList>

#include <utility>

namespace PadMapping {

namespace {

    bool isWin9x(const QString& os)
    {
        for (const char* prefix : {"Win95", "Win98", "WinME", "Windows 95", "Windows 98", "Windows ME"}) {
            if (os.startsWith(QLatin1String(prefix), Qt::CaseInsensitive))
                return true;
        }
        return false;
    }

    // Every other 32-bit (or later) Windows is of the NT line; 3.x and the handheld ones are not.
    bool isWinNT(const QString& os)
    {
        if (!os.startsWith(QLatin1String("Win"), Qt::CaseInsensitive) || isWin9x(os))
            return false;
        for (const char* other : {"Win3", "Windows 3", "Windows CE", "WinCE", "Windows Mobile", "WinMobile",
                 "Windows Phone", "Windows Mobile"}) {
            if (os.startsWith(QLatin1String(other), Qt::CaseInsensitive))
                return false;
        }
        return true;
    }

    const std::pair<const char*, const char*> kInstallers[] = {
        {"Install/Uninstall", "Install and Uninstall"},
        {"Install Feature Only", "Install Only"},
        {"Uninstall Feature Only", "Uninstall Only"},
        {"No Install Feature", "No Install Support"},
    };

} // namespace

std::optional<QString> platformFromOs(const QString& osList, QString* dropped)
{
    bool nine = false;
    bool nt = false;
    QStringList others;
    for (const QString& part : osList.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QString os = part.trimmed();
        if (isWin9x(os))
            nine = true;
        else if (isWinNT(os))
            nt = true;
        else if (!os.isEmpty())
            others.append(os);
    }
    if (dropped)
        *dropped = others.join(QStringLiteral(", "));
    if (nine && nt)
        return QStringLiteral("Windows 95 and NT");
    if (nine)
        return QStringLiteral("Windows 95");
    if (nt)
        return QStringLiteral("Windows NT");
    return std::nullopt;
}

QString osFromPlatform(const QString& platform)
{
    if (platform == QLatin1String("Windows 95"))
        return QStringLiteral("Win95");
    if (platform == QLatin1String("Windows NT"))
        return QStringLiteral("WinNT 4.x");
    if (platform == QLatin1String("Windows 95 and NT"))
        return QStringLiteral("Win95,WinNT 4.x");
    return {};
}

std::optional<QString> statusFromType(const QString& type, const QString& releaseStatus, bool expires)
{
    if (releaseStatus.compare(QLatin1String("Beta"), Qt::CaseInsensitive) == 0
        || releaseStatus.compare(QLatin1String("Alpha"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("Beta");
    if (type.compare(QLatin1String("Shareware"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("Shareware");
    if (type.compare(QLatin1String("Freeware"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("Freeware");
    if (type.compare(QLatin1String("Demo"), Qt::CaseInsensitive) == 0)
        return expires ? QStringLiteral("Time Limit Demo") : QStringLiteral("Feature Limit Demo");
    return std::nullopt;
}

QString typeFromStatus(const QString& status, const QString& price)
{
    if (status == QLatin1String("Shareware"))
        return status;
    if (status == QLatin1String("Freeware") || status == QLatin1String("Public Domain"))
        return QStringLiteral("Freeware");
    if (status == QLatin1String("Feature Limit Demo") || status == QLatin1String("Time Limit Demo"))
        return QStringLiteral("Demo");
    if (status == QLatin1String("Beta"))
        return price.toDouble() > 0 ? QStringLiteral("Shareware") : QStringLiteral("Freeware");
    return {};
}

QString releaseStatusFromStatus(const QString& status)
{
    return status == QLatin1String("Beta") ? status : QString();
}

std::optional<QString> installerFromSupport(const QString& support)
{
    for (const auto& [installer, pad] : kInstallers) {
        if (support.compare(QLatin1String(pad), Qt::CaseInsensitive) == 0)
            return QString::fromLatin1(installer);
    }
    return std::nullopt;
}

QString supportFromInstaller(const QString& installer)
{
    for (const auto& [item, pad] : kInstallers) {
        if (installer == QLatin1String(item))
            return QString::fromLatin1(pad);
    }
    return {};
}

} // namespace PadMapping
