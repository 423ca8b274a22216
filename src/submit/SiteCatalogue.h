#pragma once

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

#include <span>
#include <vector>

// How a site's row on the Sites page shows its category.
enum class CategoryLayout {
    None,
    PickList, // one pick list
    Address, // one edit that takes a web address
    WinCent, // a category pick list and a sub-category pick list filled by the category
    ShareDir, // two pick lists filled from the same file
};

// A category control of a site's row; the program record keeps its text.
struct SiteCategory
{
    const char* control = ""; // object name; empty where the row has no such control
    const char* recordKey = ""; // key of the record's SITES section
    const char* catFile = ""; // the cat/ file that fills the pick list; empty for none
    const char* start = ""; // the text a new window shows
    const char* absent = ""; // the text a record without the key loads
};

struct SiteCategories
{
    CategoryLayout layout = CategoryLayout::None;
    SiteCategory controls[2] = {};
};

// Every fact the program keeps about one site, in the order of the walk and of the Sites page.
struct Site
{
    const char* key; // stem of the entry ids; names the site's endpoint section
    const char* newBox;
    const char* updateBox;
    // The label the site's run shows (current site, log, results), which the Sites page shows after
    // "Update " too; empty: the catalogue's domain-style label.
    const char* label = "";
    bool cancelTest = false; // the run stops before this site when cancelflag is set
    // The update goes by a recipe of its own: the walk visits "key.new" and then "key.update"
    // (which has no cancel test).
    bool separateUpdate = false;
    SiteCategories category = {};
    // The record file keeps the site's tick boxes / category values after those of another site,
    // not in page order.
    const char* ticksAfter = "";
    const char* categoriesAfter = "";
};

// One row of the run's fixed walk (RecipeBook::rows() pairs each with its recipe).
struct SiteEntry
{
    QString id; // unique: the site key, or key + ".new" / ".update" where the two go by different recipes
    QString siteKey; // stem of the tick boxes; names the site's endpoint section
    QString newBox; // empty where the row has none
    QString updateBox; // empty where the row has none
    bool cancelTest; // the run stops here when cancelflag is set
};

// Where a site's submissions go. Built in under the reserved ".example" domain so that nothing
// leaves the machine until the user points a site somewhere in cat/catalogue.dat.
struct SiteEndpoints
{
    QString host; // web host of the site's scripts, "host", "host:port" or "https://host[:port]"
    QString ftpHost; // FTP upload host, "host" or "host:port"
    QString mailbox; // first mailbox the recipe names
    QString mailbox2; // second mailbox the recipe names
    QString page; // the one page address a recipe sends
    QString label; // domain-style display label
    QString shortName;
    QString caFile; // an authority trusted besides the system's for this site's TLS connections

    // "http://" + host + path, or host + path when host names its scheme: the address of one of
    // the site's scripts.
    QString scriptUrl(const QString& path) const
    {
        return (host.contains(QLatin1String("://")) ? QString() : QStringLiteral("http://")) + host + path;
    }
    // A recipe's text with "{label}" and "{short}" standing for the label and the short name.
    QString expand(QString text) const
    {
        text.replace(QStringLiteral("{label}"), label);
        text.replace(QStringLiteral("{short}"), shortName);
        return text;
    }
};

// The endpoints a site's recipe uses, as flags: what must be given in cat/catalogue.dat before the
// site can be sent to. RecipeBook declares them per row.
enum EndpointUse : unsigned {
    UsesWebHost = 1, // HOST
    UsesFtpHost = 2, // FTPHOST
    UsesMailbox = 4, // MAILBOX
    UsesMailbox2 = 8, // MAILBOX2
};

// The one table of the sites: the sixty entries the run walks, in order, what the Sites page
// and the program record keep of each, and each site's endpoints. Endpoints come from the
// built-in table unless cat/catalogue.dat gives them: one section per site key with HOST, FTPHOST,
// MAILBOX, MAILBOX2, PAGE, LABEL, SHORTNAME and CAFILE, and an [ALL] section whose HOST, FTPHOST and CAFILE apply
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

    // The 57 sites, in walk and page order.
    static std::span<const Site> sites();
    // The sites in the order the record file keeps their tick boxes (ticksAfter) or category
    // values (categoriesAfter).
    static std::vector<const Site*> recordOrder(const char* Site::*after);

    // The walk: every site once, a site with a separate update twice.
    static const std::vector<SiteEntry>& entries();
    // Every site key once, in walk order.
    static QStringList siteKeys();
    static SiteEndpoints builtIn(const QString& siteKey);
    // The update tick box of a site, also for the entry of its new listing that has none itself.
    static QString updateBoxOf(const QString& siteKey);

    // The endpoints of a site key of the catalogue; built-in values for an unknown key.
    SiteEndpoints endpoints(const QString& siteKey) const;
    // The one label a site goes by on every page, in the log and in the results: its own, or the
    // domain-style label of its endpoints.
    QString label(const QString& siteKey) const;

    // The catalogue key (HOST, FTPHOST, MAILBOX, MAILBOX2) of each endpoint flag.
    static QString settingKey(EndpointUse use);
    // Whether cat/catalogue.dat gives the site's value of key (in its own section or, for HOST,
    // FTPHOST and CAFILE, in [ALL]); a value not given is the built-in placeholder.
    bool isGiven(const QString& siteKey, const QString& key) const;
    // The settings of uses the site still takes from its placeholders, as "HOST in [tucows]" texts
    // naming cat/catalogue.dat's key and section; empty when the site is set up for them.
    QStringList missingSettings(const QString& siteKey, unsigned uses) const;

private:
    QHash<QString, SiteEndpoints> m_endpoints;
    QSet<QString> m_given; // "siteKey/KEY" of every value the file gives
};
