#include "batch/RunTimeouts.h"

#include "batch/SettingsFile.h"

int RunTimeouts::stallSeconds(int override, const QString& setting)
{
    if (override >= 0)
        return override;
    bool ok = false;
    const int seconds = setting.trimmed().toInt(&ok);
    return ok && seconds >= 0 ? seconds : Settings::DefaultTimeout;
}

int RunTimeouts::siteLimitSeconds(int override, int stallSeconds)
{
    return override >= 0 ? override : 10 * stallSeconds;
}

QString RunTimeouts::stallReason(int seconds)
{
    return QStringLiteral("Timed out: no progress for %1 seconds").arg(seconds);
}

QString RunTimeouts::siteLimitReason(int seconds)
{
    return QStringLiteral("Timed out: the site took more than %1 seconds").arg(seconds);
}
