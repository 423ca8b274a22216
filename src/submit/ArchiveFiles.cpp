#include "submit/ArchiveFiles.h"

#include "core/Errors.h"

ArchiveFiles ArchiveFiles::forProgram(const QString& basedir, const QString& char8name)
{
    const QString folder = basedir + QStringLiteral("/files");
    const QString stem = folder + QLatin1Char('/') + char8name;
    if (char8name.isEmpty() || char8name == QLatin1String(".") || char8name == QLatin1String("..")
        || char8name.contains(QLatin1Char('/')) || char8name.contains(QLatin1Char('\\'))
        || char8name.contains(QChar(0)))
        throw ECreateError(stem + QStringLiteral(".txt"));
    return {folder, stem + QStringLiteral(".txt"), stem + QStringLiteral(".tml"), stem + QStringLiteral(".zip")};
}

bool isZipName(const QString& localpath)
{
    return localpath.right(4) == QLatin1String(".zip");
}

ZipAction simtelZipAction(const QString& localpath)
{
    return isZipName(localpath) ? ZipAction::CopyThenAddDescription : ZipAction::AddBoth;
}

ZipAction papaZipAction(const QString& localpath, bool archiveExists)
{
    return archiveExists ? ZipAction::KeepExisting : simtelZipAction(localpath);
}

ZipAction winsiteZipAction(bool archiveExists)
{
    return archiveExists ? ZipAction::KeepExisting : ZipAction::AddBoth;
}
