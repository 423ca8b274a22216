#include "app/HelpFile.h"

#include "core/LineFile.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUrl>

QString helpFilePath()
{
    // A folder of the user's own: a fixed name in the shared temporary folder could be taken first
    // by another user, who would then choose what is opened or written.
    QString folder = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    if (folder.isEmpty())
        folder = QDir::homePath() + QStringLiteral("/.cache/Quillet");
    return folder + QStringLiteral("/Quillet.html");
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
