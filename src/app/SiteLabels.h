#pragma once

#include <QString>

// The label of a site whose "Update " caption shows its domain name. The domain belongs to the site
// catalogue; until an entry names one, a name under the reserved ".example" domain stands in.
QString siteDomainLabel(const QString& siteKey);
