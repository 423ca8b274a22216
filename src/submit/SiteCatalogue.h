#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

#include <vector>

// How a catalogue entry reaches its site.
enum SiteChannel : unsigned {
    ChannelPost = 1,
    ChannelGet = 2,
    ChannelFtp = 4,
    ChannelMail = 8,
    ChannelFile = 16,
};

// One row of the run's fixed walk.
struct SiteEntry
{
    QString id; // unique: the site key, or key + ".new" / ".update" where the two go by different channels
    QString siteKey; // stem of the tick boxes; names the site's endpoint section
    QString newBox; // empty where the row has none
    QString updateBox; // empty where the row has none
    unsigned channels; // SiteChannel flags
    bool cancelTest; // the run stops here when cancelflag is set
};

// Where a site's submissions go. Built in under the reserved ".example" domain so that nothing
// leaves the machine until the user points a site somewhere in cat/catalogue.dat.
struct SiteEndpoints
{
    QString host; // web host of the site's scripts, "host" or "host:port"
    QString ftpHost; // FTP upload host, "host" or "host:port"
    QString mailbox; // first mailbox the recipe names
    QString mailbox2; // second mailbox the recipe names
    QString page; // the one page address a recipe sends
    QString label; // domain-style display label
    QString shortName;

    // "http://" + host + path: the address of one of the site's scripts.
    QString scriptUrl(const QString& path) const { return QStringLiteral("http://") + host + path; }
};

// The sixty entries the run walks, in order, and each site's endpoints. Endpoints come from the
// built-in table unless cat/catalogue.dat gives them: one section per site key with HOST, FTPHOST,
// MAILBOX, MAILBOX2, PAGE, LABEL and SHORTNAME, and an [ALL] section whose HOST and FTPHOST apply
// to every site without its own. An empty value counts as no value.
class SiteCatalogue
{
public:
    // Built-in endpoints only.
    SiteCatalogue();
    // Built-in endpoints overridden by the profile file at path (a missing file changes nothing).
    explicit SiteCatalogue(const QString& cataloguePath);

    // basedir + "/cat/catalogue.dat".
    static SiteCatalogue forBase(const QString& basedir);
    static QString cataloguePath(const QString& basedir);

    static const std::vector<SiteEntry>& entries();
    // Every site key once, in walk order.
    static QStringList siteKeys();
    static SiteEndpoints builtIn(const QString& siteKey);
    // The update tick box of a site, also for the entry of its new listing that has none itself.
    static QString updateBoxOf(const QString& siteKey);

    // The endpoints of a site key of the catalogue; built-in values for an unknown key.
    SiteEndpoints endpoints(const QString& siteKey) const;

private:
    QHash<QString, SiteEndpoints> m_endpoints;
};
