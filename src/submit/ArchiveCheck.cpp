#include "submit/ArchiveCheck.h"

#include "archive/ZipEntryList.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

namespace {

// The end-of-central-directory record and its longest comment.
constexpr qint64 EndRecordReach = 22 + 0xffff;

QString damaged(const QString& path, const QString& why)
{
    return QStringLiteral("The archive %1 is damaged (%2); it was not uploaded and is left as it is.").arg(path, why);
}

} // namespace

namespace ArchiveCheck {

QString problem(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("Cannot read the archive %1.").arg(path);
    if (file.size() == 0)
        return damaged(path, QStringLiteral("it is empty"));
    const uchar* bytes = file.map(0, file.size());
    if (!bytes)
        return QStringLiteral("Cannot read the archive %1.").arg(path);
    const char* data = reinterpret_cast<const char*>(bytes);
    const ZipEntryList list = readZipEntries(data, file.size());
    if (list.outcome == ZipEntryList::Damaged)
        return damaged(path, list.error);
    if (list.outcome == ZipEntryList::NoEntries || list.entries.isEmpty())
        return damaged(path, QStringLiteral("it holds no file"));
    const qint64 from = std::max<qint64>(0, file.size() - EndRecordReach);
    if (QByteArrayView(data + from, file.size() - from).lastIndexOf(QByteArrayView("PK\x05\x06", 4)) < 0)
        return damaged(path, QStringLiteral("its end is missing"));
    return QString();
}

void removeStaleTemporaries(const QString& folder)
{
    static const QRegularExpression libraryTemporary(QStringLiteral("\\.zip\\.[A-Za-z0-9]{6}$"));
    const QDir dir(folder);
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden)) {
        if (name.startsWith(QLatin1String(".partial-")) || libraryTemporary.match(name).hasMatch())
            QFile::remove(dir.filePath(name));
    }
}

} // namespace ArchiveCheck
