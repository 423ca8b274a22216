#include "app/SiteLinks.h"

#include "core/Errors.h"
#include "core/LineFile.h"
#include "core/ProfileFile.h"

#include <QFileInfo>

#include <algorithm>

SiteLinks::SiteLinks(QString catFolder)
    : m_catFolder(std::move(catFolder))
{
}

QStringList SiteLinks::names() const
{
    const QString path = m_catFolder + QLatin1String("/sites.dat");
    std::optional<QStringList> lines = readLineFile(path);
    if (!lines)
        throw EOpenError(path);
    sortNames(*lines);
    return *lines;
}

QString SiteLinks::address(const QString& name) const
{
    const QString path = m_catFolder + QLatin1String("/urls.dat");
    if (!QFileInfo(path).isFile())
        return name;
    return ProfileFile::read(path, QStringLiteral("URLS"), name);
}

void SiteLinks::sortNames(QStringList& names)
{
    // Stable, so names that differ only in case keep their order from the file.
    std::stable_sort(names.begin(), names.end(),
        [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
}
