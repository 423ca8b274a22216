#include "submit/SiteCatalogue.h"

#include "core/ProfileFile.h"

namespace {

struct Row
{
    const char* id;
    const char* newBox;
    const char* updateBox;
    unsigned channels;
    bool cancelTest;
};

constexpr unsigned Post = ChannelPost, Get = ChannelGet, Ftp = ChannelFtp, Mail = ChannelMail, File = ChannelFile;

// The order of the run. Rows whose id carries ".new"/".update" are one site whose new listing and
// update go by different channels.
constexpr Row kRows[] = {
    {"tucows", "tucowsnewcb", "tucowscb", Ftp | Post, false},
    {"win95", "win95newcb", "win95cb", Post, false},
    {"bit32.new", "new32bit", "", Post, false},
    {"bit32.update", "", "bit32cb", Mail, false},
    {"kellcent", "kellcentnewcb", "kccb", Post, true},
    {"tresk", "cwsnewcb", "treskcb", Mail, true},
    {"wincent.new", "wincentnewcb", "", Post, false},
    {"wincent.update", "", "wincentcb", Mail, false},
    {"download", "downloadnewcb", "downloadcb", Post, true},
    {"simtel", "simtelnewcb", "simtelcb", File | Ftp | Mail, false},
    {"winsite", "winsitenewcb", "winsitecb", File | Ftp, true},
    {"filemine.new", "fileminenewcb", "", Get, true},
    {"filemine.update", "", "fileminecb", Mail, false},
    {"shareware95", "sharewarenewcb", "shareware95cb", Post, false},
    {"simpbest", "simpbestnew", "simpbestup", Mail, true},
    {"marnels", "marnelsnewcb", "marnelscb", Mail, true},
    {"vosk", "vosknewcb", "voskcb", Mail, true},
    {"keyscreen", "keyscreennewcb", "keyscreencb", Mail, true},
    {"swpage", "swpagenewcb", "myswcb", Mail, true},
    {"otba", "otbanewcb", "otbacb", Mail, true},
    {"slaughterhouse", "slaughnewcb", "Slaughterhousecb", Post, true},
    {"pow95", "pow95new", "powin95up", Mail, true},
    {"dlnet", "dlnetnew", "dlnetup", Mail, true},
    {"essen", "essennew", "essenup", Post, true},
    {"capfish", "capfishnew", "capfishup", Mail, true},
    {"digisafari", "digisafarinew", "digisafariup", Mail, true},
    {"fwfav", "fwfavnew", "fwfavup", Mail, true},
    {"f32com", "f32comnew", "f32comup", Mail, true},
    {"galt", "galtnew", "galtup", Mail, true},
    {"gws", "gwsnew", "gwsup", Mail, true},
    {"jayde", "jaydenew", "jaydeup", Mail, true},
    {"pts", "ptsnew", "ptsup", Mail, true},
    {"rocket", "rocketnew", "rocketup", Mail, true},
    {"sharepaper", "sharepapernew", "sharepaperup", Mail, true},
    {"swr", "swrnew", "swrup", Mail, true},
    {"swshop", "swshopnew", "swshopup", Mail, true},
    {"c2c", "c2cnew", "c2cup", Mail, true},
    {"gratis", "gratisnew", "gratisup", Mail, true},
    {"swsp", "swspnew", "swspup", Mail, true},
    {"ss", "ssnew", "ssup", Mail, true},
    {"swro", "swronew", "swroup", Mail, true},
    {"fenworld", "fenworldnew", "fenworldup", Mail, true},
    {"wpipe", "wpipenew", "wpipeup", Mail, true},
    {"wugnet", "wugnetnew", "wugnetup", Mail, true},
    {"tudogs", "tudogsnew", "tudogsup", Mail, true},
    {"sharein", "shareinnew", "shareinup", Post, false},
    {"warehouse", "warehousenewcb", "wsockwhcb", Post, true},
    {"fking", "fkingnew", "fkingup", Post, false},
    {"lg", "lgnew", "lgup", Post, false},
    {"swjunkie", "swjunkienew", "swjunkieup", Post, false},
    {"papa", "papanew", "papaup", File | Ftp, false},
    {"sharedir", "sharedirnew", "sharedirup", Post, false},
    {"pcwin", "pcwinnew", "pcwinup", Mail, true},
    {"win95emp", "win95empnew", "win95empup", Mail, true},
    {"csw", "cswnew", "cswup", Post, false},
    {"sshak", "sshaknew", "sshakup", Post, false},
    {"swarecent", "swarecentnew", "swarecentup", Mail, true},
    {"snet", "snetnew", "snetup", Mail, true},
    {"winsw", "winswnew", "winswup", Mail, true},
    {"wattack", "wattacknew", "wattackup", Mail, true},
};

const QString kAll = QStringLiteral("ALL");

QString withoutLeadingThe(const QString& label)
{
    return label.startsWith(QLatin1String("The ")) ? label.mid(4) : label;
}

} // namespace

const std::vector<SiteEntry>& SiteCatalogue::entries()
{
    static const std::vector<SiteEntry> all = [] {
        std::vector<SiteEntry> list;
        for (const Row& row : kRows) {
            const QString id = QString::fromLatin1(row.id);
            list.push_back({id, id.section(QLatin1Char('.'), 0, 0), QString::fromLatin1(row.newBox),
                QString::fromLatin1(row.updateBox), row.channels, row.cancelTest});
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
    for (auto it = m_endpoints.begin(); it != m_endpoints.end(); ++it) {
        SiteEndpoints& e = it.value();
        auto take = [&](const char* key, QString& value, const QString& fallback = {}) {
            const QString own = file.readString(it.key(), QString::fromLatin1(key));
            if (!own.isEmpty())
                value = own;
            else if (!fallback.isEmpty())
                value = fallback;
        };
        take("HOST", e.host, allHost);
        take("FTPHOST", e.ftpHost, allFtpHost);
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
    return SiteCatalogue(cataloguePath(basedir));
}

SiteEndpoints SiteCatalogue::endpoints(const QString& siteKey) const
{
    return m_endpoints.value(siteKey, builtIn(siteKey));
}
