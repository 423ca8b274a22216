#pragma once

#include <QString>
#include <QStringList>

// The download sites the user can open from the "Check / Options" page: the names in sites.dat and
// their addresses in the URLS section of urls.dat, both in the cat folder.
class SiteLinks
{
public:
    explicit SiteLinks(QString catFolder);

    // The names, sorted without regard to case. Raises EOpenError when sites.dat cannot be read.
    QStringList names() const;
    // The address of a name: its URLS value (empty when it has none), or the name itself when
    // there is no urls.dat at all.
    QString address(const QString& name) const;

    static void sortNames(QStringList& names);

private:
    QString m_catFolder;
};
