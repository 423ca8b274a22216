#include "app/SiteLabels.h"

QString siteDomainLabel(const QString& siteKey)
{
    return siteKey + QStringLiteral(".example");
}
