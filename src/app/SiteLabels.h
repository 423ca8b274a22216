#pragma once

#include <QString>

// The label of a site whose "Update " caption shows its domain name: the site catalogue's LABEL,
// from cat/catalogue.dat of the current folder or built in.
QString siteDomainLabel(const QString& siteKey);
