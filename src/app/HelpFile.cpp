#include "app/HelpFile.h"

#include "core/LineFile.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QUrl>

QString helpFilePath()
{
    return QDir::tempPath() + QStringLiteral("/quillet-help/Quillet.html");
}

QString installHelpFile()
{
    const QString path = helpFilePath();
    QFile source(QStringLiteral(":/help/Quillet.html"));
    if (!source.open(QIODevice::ReadOnly))
        return path;
    const QByteArray content = source.readAll();
    QFile current(path);
    if (current.open(QIODevice::ReadOnly) && current.readAll() == content)
        return path;
    QDir().mkpath(QFileInfo(path).absolutePath());
    writeFileWhole(path, content);
    return path;
}

void openHelpFile()
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(installHelpFile()));
}
