#include "core/InstalledCopy.h"

#include <QDir>
#include <QFileInfo>

QString installedDataFolder()
{
    const QFileInfo exe(QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath());
    const QString data = QDir::cleanPath(exe.path() + QStringLiteral("/../share/quillet"));
    return QFileInfo(data).isDir() ? data : QString();
}
