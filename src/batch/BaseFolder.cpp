#include "batch/BaseFolder.h"

#include "core/Errors.h"
#include "core/InstalledCopy.h"
#include "core/LineFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

// The shipped files live in a static library: linked in only when initialised by name.
static void initShippedResource()
{
    static const bool done = [] {
        Q_INIT_RESOURCE(shipped);
        return true;
    }();
    Q_UNUSED(done)
}

namespace BaseFolder {

bool isSetUp(const QString& base)
{
    const QDir dir(base);
    return dir.exists(QStringLiteral("cat")) || dir.exists(QStringLiteral("data"));
}

QString shippedFolder()
{
    const QString installed = installedDataFolder();
    if (!installed.isEmpty())
        return installed + QStringLiteral("/cat");
    initShippedResource();
    return QStringLiteral(":/shipped/cat");
}

QStringList shippedFiles()
{
    return QDir(shippedFolder()).entryList(QDir::Files, QDir::Name);
}

void setUp(const QString& base)
{
    QDir dir(base);
    for (const char* sub : {"cat", "data", "files", "responses"}) {
        const QString name = QString::fromLatin1(sub);
        if (!dir.exists(name) && !dir.mkpath(name))
            throw ECreateError(dir.filePath(name));
    }
    const QDir shipped(shippedFolder());
    for (const QString& name : shipped.entryList(QDir::Files, QDir::Name)) {
        const QString target = dir.filePath(QStringLiteral("cat/") + name);
        if (QFileInfo::exists(target))
            continue;
        QFile source(shipped.filePath(name));
        if (!source.open(QIODevice::ReadOnly) || !writeFileWhole(target, source.readAll()))
            throw ECreateError(target);
    }
}

QString forStartIn(const QString& current, const QString& home)
{
    if (QDir(current) == QDir(home) && !isSetUp(current))
        return QDir(home).filePath(QStringLiteral("Quillet"));
    return current;
}

QString setUpQuestion(const QString& base)
{
    return QStringLiteral("%1 holds no Quillet data yet.\n\nSet it up now? Quillet then creates the folders cat, "
                          "data, files and responses there and puts its site category lists into cat.")
        .arg(QDir::toNativeSeparators(base));
}

} // namespace BaseFolder
