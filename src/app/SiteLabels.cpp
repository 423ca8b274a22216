#include "app/SiteLabels.h"

#include "submit/SiteCatalogue.h"

#include <QDir>

QString siteDomainLabel(const QString& siteKey)
{
    // The window is built in the folder it takes as basedir.
    return SiteCatalogue::forBase(QDir::currentPath()).endpoints(siteKey).label;
}
