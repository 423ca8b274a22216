#include "submit/SiteCatalogue.h"

#include "core/ProfileFile.h"

#include <QFile>

#include <algorithm>
#include <cstring>
#include <optional>

namespace {

constexpr SiteCategories pickList(const char* control, const char* recordKey, const char* catFile)
{
    return {CategoryLayout::PickList, {{.control = control, .recordKey = recordKey, .catFile = catFile}}};
}

constexpr SiteCategories address(const char* control, const char* recordKey)
{
    return {CategoryLayout::Address,
        {{.control = control, .recordKey = recordKey, .start = "http://", .absent = "http://"}}};
}

constexpr Site kSites[] = {
    {.key = "tucows",
        .newBox = "tucowsnewcb",
        .updateBox = "tucowscb",
        .label = "TuCows",
        .category = pickList("tucowspd", "CTUCOWS", "tucows.cat")},
    {.key = "win95", .newBox = "win95newcb", .updateBox = "win95cb", .category = address("win95pd", "CWINDOWS95COM")},
    {.key = "bit32", .newBox = "new32bit", .updateBox = "bit32cb", .separateUpdate = true},
    {.key = "kellcent",
        .newBox = "kellcentnewcb",
        .updateBox = "kccb",
        .cancelTest = true,
        .category = pickList("kcpd", "CKELLS", "kellcent.cat")},
    {.key = "tresk", .newBox = "cwsnewcb", .updateBox = "treskcb", .label = "Tresks CWS Apps", .cancelTest = true},
    {.key = "wincent",
        .newBox = "wincentnewcb",
        .updateBox = "wincentcb",
        .separateUpdate = true,
        .category = {CategoryLayout::WinCent,
            {{.control = "wincentpd", .recordKey = "CWINCENT", .catFile = "wincent.cat"},
                {.control = "wcsubcat", .recordKey = "SWINCENT"}}}},
    {.key = "download",
        .newBox = "downloadnewcb",
        .updateBox = "downloadcb",
        .cancelTest = true,
        .category = pickList("dlcat", "CDLOADCOM", "downloadcom.cat")},
    {.key = "simtel",
        .newBox = "simtelnewcb",
        .updateBox = "simtelcb",
        .label = "Simtel",
        .category = pickList("simtelpd", "CSIMTEL", "simtel.cat")},
    {.key = "winsite",
        .newBox = "winsitenewcb",
        .updateBox = "winsitecb",
        .label = "Winsite",
        .cancelTest = true,
        .category = pickList("winsitepd", "CWINSITE", "winsite.cat")},
    {.key = "filemine",
        .newBox = "fileminenewcb",
        .updateBox = "fileminecb",
        .label = "File Mine",
        .cancelTest = true,
        .separateUpdate = true,
        .category = pickList("fileminepd", "CFILEMINE", "filemine.cat")},
    {.key = "shareware95",
        .newBox = "sharewarenewcb",
        .updateBox = "shareware95cb",
        .category = address("shareware95pd", "CSW95COM")},
    {.key = "simpbest",
        .newBox = "simpbestnew",
        .updateBox = "simpbestup",
        .label = "Simply The Best",
        .cancelTest = true,
        .category = pickList("simpbestpd", "CSTB", "simpbest.cat"),
        .ticksAfter = "sharein",
        .categoriesAfter = "sharedir"},
    {.key = "marnels",
        .newBox = "marnelsnewcb",
        .updateBox = "marnelscb",
        .label = "Marnel's Win95 List",
        .cancelTest = true},
    {.key = "vosk", .newBox = "vosknewcb", .updateBox = "voskcb", .label = "Vosk Hangar95", .cancelTest = true},
    {.key = "keyscreen",
        .newBox = "keyscreennewcb",
        .updateBox = "keyscreencb",
        .label = "Keyscreen",
        .cancelTest = true},
    {.key = "swpage",
        .newBox = "swpagenewcb",
        .updateBox = "myswcb",
        .label = "My Shareware Page",
        .cancelTest = true,
        .category = pickList("myswcbpd", "CMSPAGE", "myswp.cat")},
    {.key = "otba", .newBox = "otbanewcb", .updateBox = "otbacb", .label = "Only the best Apps", .cancelTest = true},
    {.key = "slaughterhouse",
        .newBox = "slaughnewcb",
        .updateBox = "Slaughterhousecb",
        .label = "Slaughterhouse",
        .cancelTest = true},
    {.key = "pow95",
        .newBox = "pow95new",
        .updateBox = "powin95up",
        .label = "Pell Orvane's Win95 Page",
        .cancelTest = true},
    {.key = "dlnet", .newBox = "dlnetnew", .updateBox = "dlnetup", .cancelTest = true},
    {.key = "essen",
        .newBox = "essennew",
        .updateBox = "essenup",
        .label = "The Essential Shareware Pages",
        .cancelTest = true},
    {.key = "capfish",
        .newBox = "capfishnew",
        .updateBox = "capfishup",
        .label = "Captain Fishy's Internet Software Pages",
        .cancelTest = true},
    {.key = "digisafari",
        .newBox = "digisafarinew",
        .updateBox = "digisafariup",
        .label = "DigiSafari",
        .cancelTest = true},
    {.key = "fwfav", .newBox = "fwfavnew", .updateBox = "fwfavup", .label = "Freeware Favorites", .cancelTest = true},
    {.key = "f32com", .newBox = "f32comnew", .updateBox = "f32comup", .cancelTest = true},
    {.key = "galt", .newBox = "galtnew", .updateBox = "galtup", .label = "Galt Shareware Zone", .cancelTest = true},
    {.key = "gws", .newBox = "gwsnew", .updateBox = "gwsup", .label = "Great Windows Software", .cancelTest = true},
    {.key = "jayde", .newBox = "jaydenew", .updateBox = "jaydeup", .label = "Jayde Hot Shareware", .cancelTest = true},
    {.key = "pts",
        .newBox = "ptsnew",
        .updateBox = "ptsup",
        .label = "Pass The Shareware",
        .cancelTest = true,
        .category = pickList("ptspd", "CPASSSW", "pts.cat")},
    {.key = "rocket", .newBox = "rocketnew", .updateBox = "rocketup", .cancelTest = true},
    {.key = "sharepaper",
        .newBox = "sharepapernew",
        .updateBox = "sharepaperup",
        .label = "Sharepaper",
        .cancelTest = true},
    {.key = "swr", .newBox = "swrnew", .updateBox = "swrup", .label = "Shareware Resources", .cancelTest = true},
    {.key = "swshop",
        .newBox = "swshopnew",
        .updateBox = "swshopup",
        .label = "The Shareware Shop",
        .cancelTest = true},
    {.key = "c2c", .newBox = "c2cnew", .updateBox = "c2cup", .label = "Coast to Coast", .cancelTest = true},
    {.key = "gratis", .newBox = "gratisnew", .updateBox = "gratisup", .label = "Gr@tis", .cancelTest = true},
    {.key = "swsp", .newBox = "swspnew", .updateBox = "swspup", .label = "Shareware Stockpile", .cancelTest = true},
    {.key = "ss", .newBox = "ssnew", .updateBox = "ssup", .label = "SoftSeek", .cancelTest = true},
    {.key = "swro",
        .newBox = "swronew",
        .updateBox = "swroup",
        .label = "Software Web Review Online",
        .cancelTest = true},
    {.key = "fenworld", .newBox = "fenworldnew", .updateBox = "fenworldup", .cancelTest = true},
    {.key = "wpipe", .newBox = "wpipenew", .updateBox = "wpipeup", .label = "Web Pipe", .cancelTest = true},
    {.key = "wugnet", .newBox = "wugnetnew", .updateBox = "wugnetup", .label = "WUGNET", .cancelTest = true},
    {.key = "tudogs", .newBox = "tudogsnew", .updateBox = "tudogsup", .label = "Tudogs", .cancelTest = true},
    {.key = "sharein", .newBox = "shareinnew", .updateBox = "shareinup", .label = "Shareware Intercom"},
    {.key = "warehouse",
        .newBox = "warehousenewcb",
        .updateBox = "wsockwhcb",
        .label = "Winsock Warehouse",
        .cancelTest = true,
        .ticksAfter = "shareware95"},
    {.key = "fking",
        .newBox = "fkingnew",
        .updateBox = "fkingup",
        .label = "File King",
        .category = pickList("fkingpd", "CFKING", "fileking.cat")},
    {.key = "lg", .newBox = "lgnew", .updateBox = "lgup", .label = "Lockergnome"},
    {.key = "swjunkie",
        .newBox = "swjunkienew",
        .updateBox = "swjunkieup",
        .label = "Shareware Junkies",
        .category = pickList("swjunkiepd", "swjunkiepd", "swjunkie.cat")},
    {.key = "papa", .newBox = "papanew", .updateBox = "papaup", .label = "Papa WinSock-L FTP Archive"},
    {.key = "sharedir",
        .newBox = "sharedirnew",
        .updateBox = "sharedirup",
        .label = "Shareware Directory",
        .category = {CategoryLayout::ShareDir,
            {{.control = "sharedirpd1",
                 .recordKey = "sharedirpd1",
                 .catFile = "sharedir.cat",
                 .start = "Select Category 1"},
                {.control = "sharedirpd2",
                    .recordKey = "sharedirpd2",
                    .catFile = "sharedir.cat",
                    .start = "Select Category 2"}}}},
    {.key = "pcwin",
        .newBox = "pcwinnew",
        .updateBox = "pcwinup",
        .label = "PC Win Resource Center",
        .cancelTest = true},
    {.key = "win95emp",
        .newBox = "win95empnew",
        .updateBox = "win95empup",
        .label = "Windows 95 Emporium",
        .cancelTest = true},
    {.key = "csw",
        .newBox = "cswnew",
        .updateBox = "cswup",
        .label = "c:\\shareware",
        .category = pickList("cswpd", "cswpd", "csw.cat")},
    {.key = "sshak",
        .newBox = "sshaknew",
        .updateBox = "sshakup",
        .label = "Software Shak",
        .category = pickList("sshakpd", "sshakpd", "sshak.cat")},
    {.key = "swarecent",
        .newBox = "swarecentnew",
        .updateBox = "swarecentup",
        .label = "Software Center",
        .cancelTest = true},
    {.key = "snet",
        .newBox = "snetnew",
        .updateBox = "snetup",
        .cancelTest = true,
        .category = pickList("snetpd", "snetpd", "snet.cat")},
    {.key = "winsw",
        .newBox = "winswnew",
        .updateBox = "winswup",
        .cancelTest = true,
        .category = pickList("winswpd", "winswpd", "winsw.cat")},
    {.key = "wattack",
        .newBox = "wattacknew",
        .updateBox = "wattackup",
        .label = "The Web Attack",
        .cancelTest = true,
        .category = pickList("wattackpd", "wattackpd", "wattack.cat")},
};
static_assert(std::size(kSites) == 57);

const QString kAll = QStringLiteral("ALL");

QString withoutLeadingThe(const QString& label)
{
    return label.startsWith(QLatin1String("The ")) ? label.mid(4) : label;
}

} // namespace

std::span<const Site> SiteCatalogue::sites()
{
    return kSites;
}

std::vector<const Site*> SiteCatalogue::recordOrder(const char* Site::*after)
{
    std::vector<const Site*> order;
    for (const Site& s : kSites) {
        if (!*(s.*after))
            order.push_back(&s);
    }
    for (const Site& s : kSites) {
        if (!*(s.*after))
            continue;
        const auto before = std::find_if(
            order.begin(), order.end(), [&](const Site* o) { return std::strcmp(o->key, s.*after) == 0; });
        order.insert(before == order.end() ? before : before + 1, &s);
    }
    return order;
}

const std::vector<SiteEntry>& SiteCatalogue::entries()
{
    static const std::vector<SiteEntry> all = [] {
        std::vector<SiteEntry> list;
        for (const Site& s : kSites) {
            const QString key = QString::fromLatin1(s.key);
            const QString newBox = QString::fromLatin1(s.newBox);
            const QString updateBox = QString::fromLatin1(s.updateBox);
            if (s.separateUpdate) {
                list.push_back({key + QLatin1String(".new"), key, newBox, {}, s.cancelTest});
                list.push_back({key + QLatin1String(".update"), key, {}, updateBox, false});
            } else {
                list.push_back({key, key, newBox, updateBox, s.cancelTest});
            }
        }
        return list;
    }();
    return all;
}

QStringList SiteCatalogue::siteKeys()
{
    QStringList keys;
    for (const SiteEntry& e : entries()) {
        if (!keys.contains(e.siteKey))
            keys.append(e.siteKey);
    }
    return keys;
}

SiteEndpoints SiteCatalogue::builtIn(const QString& siteKey)
{
    const QString domain = siteKey + QStringLiteral(".example");
    SiteEndpoints e;
    e.host = domain;
    e.ftpHost = QStringLiteral("ftp.") + domain;
    e.mailbox = QStringLiteral("submit@") + domain;
    e.mailbox2 = QStringLiteral("listings@") + domain;
    e.page = QStringLiteral("http://") + domain + QStringLiteral("/thanks.html");
    // The one label the recipes want with an at sign rather than a domain name.
    e.label = siteKey == QLatin1String("gratis") ? QStringLiteral("Gr@tis") : domain;
    e.shortName = withoutLeadingThe(e.label);
    if (siteKey == QLatin1String("win95")) {
        // The page the site's mail script sends the submitter to.
        e.page = QStringLiteral("http://") + domain + QStringLiteral("/contact/apps_confirm.html");
    } else if (siteKey == QLatin1String("download")) {
        // Shown with its owner's name; the status texts and log lines use the domain alone.
        e.label = domain + QStringLiteral(" (Example Owner)");
    }
    return e;
}

QString SiteCatalogue::updateBoxOf(const QString& siteKey)
{
    for (const SiteEntry& e : entries()) {
        if (e.siteKey == siteKey && !e.updateBox.isEmpty())
            return e.updateBox;
    }
    return {};
}

SiteCatalogue::SiteCatalogue()
{
    for (const QString& key : siteKeys())
        m_endpoints.insert(key, builtIn(key));
}

SiteCatalogue::SiteCatalogue(const QString& cataloguePath)
    : SiteCatalogue()
{
    const ProfileFile file(cataloguePath);
    if (!file.existed())
        return;
    const QString allHost = file.readString(kAll, QStringLiteral("HOST"));
    const QString allFtpHost = file.readString(kAll, QStringLiteral("FTPHOST"));
    const QString allCaFile = file.readString(kAll, QStringLiteral("CAFILE"));
    for (auto it = m_endpoints.begin(); it != m_endpoints.end(); ++it) {
        SiteEndpoints& e = it.value();
        auto take = [&](const char* key, QString& value, const QString& fallback = {}) {
            const QString own = file.readString(it.key(), QString::fromLatin1(key));
            if (!own.isEmpty())
                value = own;
            else if (!fallback.isEmpty())
                value = fallback;
            if (!own.isEmpty() || !fallback.isEmpty())
                m_given.insert(it.key() + QLatin1Char('/') + QLatin1String(key));
        };
        take("HOST", e.host, allHost);
        take("FTPHOST", e.ftpHost, allFtpHost);
        take("CAFILE", e.caFile, allCaFile);
        take("MAILBOX", e.mailbox);
        take("MAILBOX2", e.mailbox2);
        take("PAGE", e.page);
        const QString builtInLabel = e.label;
        take("LABEL", e.label);
        // A label given in the file brings its own short name unless the file names one too.
        if (e.label != builtInLabel)
            e.shortName = withoutLeadingThe(e.label);
        take("SHORTNAME", e.shortName);
    }
}

QString SiteCatalogue::cataloguePath(const QString& basedir)
{
    return basedir + QStringLiteral("/cat/catalogue.dat");
}

SiteCatalogue SiteCatalogue::forBase(const QString& basedir)
{
    // The Sites page, the listing check and every run ask for the catalogue. Reading the file is
    // cheap, looking up every site's keys in it is not: the last catalogue is kept with the bytes it
    // was made from and given again while the file holds the same bytes.
    struct Kept
    {
        QString path;
        std::optional<QByteArray> bytes; // none: no file
        SiteCatalogue catalogue;
    };
    thread_local std::optional<Kept> kept;
    const QString path = cataloguePath(basedir);
    std::optional<QByteArray> bytes;
    if (QFile file(path); file.open(QIODevice::ReadOnly))
        bytes = file.readAll();
    if (!kept || kept->path != path || kept->bytes != bytes)
        kept = Kept{path, bytes, SiteCatalogue(path)};
    return kept->catalogue;
}

SiteEndpoints SiteCatalogue::endpoints(const QString& siteKey) const
{
    return m_endpoints.value(siteKey, builtIn(siteKey));
}

QString SiteCatalogue::label(const QString& siteKey) const
{
    for (const Site& site : sites()) {
        if (siteKey == QLatin1String(site.key) && *site.label)
            return QString::fromLatin1(site.label);
    }
    return endpoints(siteKey).label;
}

QString SiteCatalogue::settingKey(EndpointUse use)
{
    switch (use) {
    case UsesWebHost:
        return QStringLiteral("HOST");
    case UsesFtpHost:
        return QStringLiteral("FTPHOST");
    case UsesMailbox:
        return QStringLiteral("MAILBOX");
    case UsesMailbox2:
        return QStringLiteral("MAILBOX2");
    }
    return {};
}

bool SiteCatalogue::isGiven(const QString& siteKey, const QString& key) const
{
    return m_given.contains(siteKey + QLatin1Char('/') + key);
}

QStringList SiteCatalogue::missingSettings(const QString& siteKey, unsigned uses) const
{
    QStringList missing;
    for (const EndpointUse use : {UsesWebHost, UsesFtpHost, UsesMailbox, UsesMailbox2}) {
        if (!(uses & use))
            continue;
        const QString key = settingKey(use);
        if (isGiven(siteKey, key))
            continue;
        const bool sharedKey = use == UsesWebHost || use == UsesFtpHost;
        missing.append(
            QStringLiteral("%1 in [%2]%3").arg(key, siteKey, sharedKey ? QStringLiteral(" or [ALL]") : QString()));
    }
    return missing;
}
