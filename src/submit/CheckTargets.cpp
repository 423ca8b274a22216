#include "submit/CheckTargets.h"

#include "core/ProfileFile.h"
#include "net/TmsSMTP.h"
#include "submit/EndpointText.h"
#include "submit/RecipeBook.h"
#include "submit/SiteCatalogue.h"
#include "submit/UserSites.h"

#include <QFileInfo>

namespace {

ProbeTarget hostTarget(const QString& label, const QString& what, const QString& text,
    std::optional<EndpointText::HostPort> parsed, const QString& error)
{
    ProbeTarget t;
    t.label = label;
    t.endpoint = what + QLatin1Char(' ') + text;
    if (!parsed) {
        t.unusable = error;
        return t;
    }
    t.host = parsed->host;
    t.port = parsed->port;
    return t;
}

// A web host as the run reaches it: a connection, TLS from the start for https://.
ProbeTarget webTarget(const QString& label, const SiteEndpoints& e)
{
    QString error;
    const auto parsed = EndpointText::webHost(e.host, &error);
    ProbeTarget t = hostTarget(label, QStringLiteral("web"), e.host, parsed, error);
    t.kind = ProbeTarget::Kind::Connect;
    t.tls = parsed && parsed->secure ? ProbeTarget::Tls::Implicit : ProbeTarget::Tls::None;
    t.caFile = e.caFile;
    return t;
}

// An FTP host as the run reaches it: the greeting, AUTH TLS for ftps://.
ProbeTarget ftpTarget(const QString& label, const SiteEndpoints& e)
{
    QString error;
    const auto parsed = EndpointText::ftpHost(e.ftpHost, &error);
    ProbeTarget t = hostTarget(label, QStringLiteral("FTP"), e.ftpHost, parsed, error);
    t.kind = ProbeTarget::Kind::Ftp;
    t.tls = parsed && parsed->secure ? ProbeTarget::Tls::Command : ProbeTarget::Tls::None;
    t.caFile = e.caFile;
    return t;
}

} // namespace

std::vector<ProbeTarget> CheckTargets::forSite(
    const SiteCatalogue& catalogue, const QString& siteKey, unsigned uses, bool withUnset)
{
    std::vector<ProbeTarget> targets;
    const SiteEndpoints e = catalogue.endpoints(siteKey);
    const QString label = catalogue.label(siteKey);
    for (const EndpointUse use : {UsesWebHost, UsesFtpHost, UsesMailbox, UsesMailbox2}) {
        if (!(uses & use))
            continue;
        const bool given = catalogue.isGiven(siteKey, SiteCatalogue::settingKey(use));
        if (!given && !withUnset)
            continue;
        ProbeTarget t;
        if (use == UsesMailbox || use == UsesMailbox2) {
            // A mailbox is reached through the mail server; only its being set up is checked.
            if (given)
                continue;
            t.label = label;
            t.endpoint = QStringLiteral("mailbox ") + (use == UsesMailbox ? e.mailbox : e.mailbox2);
            t.caFile = e.caFile;
        } else {
            t = use == UsesWebHost ? webTarget(label, e) : ftpTarget(label, e);
        }
        if (!given) {
            t.unusable = QStringLiteral("not set up: ") + catalogue.missingSettings(siteKey, use).join(QString())
                + QStringLiteral(" of cat/catalogue.dat");
        }
        targets.push_back(t);
    }
    return targets;
}

std::vector<ProbeTarget> CheckTargets::forUserSite(const UserSite& site)
{
    if (site.channel == UserSite::Channel::Mail)
        return {};
    ProbeTarget t = site.channel == UserSite::Channel::Ftp ? ftpTarget(site.label, site.endpoints)
                                                           : webTarget(site.label, site.endpoints);
    if (const QString key = site.placeholderKey(); !key.isEmpty())
        t.unusable = QStringLiteral("not set up: %1 of %2 is a placeholder").arg(key, QFileInfo(site.file).fileName());
    return {t};
}

std::optional<ProbeTarget> CheckTargets::mailServer(const QString& basedir)
{
    const ProfileFile settings(basedir + QStringLiteral("/cat/settings.dat"));
    const QString section = QStringLiteral("SETTINGS");
    const QString server = settings.readString(section, QStringLiteral("SMTP")).trimmed();
    if (server.isEmpty())
        return std::nullopt;
    QString error;
    const auto parsed = EndpointText::mailServer(server, &error);
    ProbeTarget t = hostTarget(QStringLiteral("Mail server"), QStringLiteral("SMTP"), server, parsed, error);
    t.kind = ProbeTarget::Kind::Smtp;
    t.caFile = settings.readString(section, QStringLiteral("CAFILE"));
    // As the mail client secures its session: TLS from the start also whenever the port is 465.
    const SmtpSecurity security = smtpSecurityFromText(settings.readString(section, QStringLiteral("SECURITY")));
    if (security == SmtpSecurity::Tls || t.port == 465)
        t.tls = ProbeTarget::Tls::Implicit;
    else if (security == SmtpSecurity::StartTls)
        t.tls = ProbeTarget::Tls::Command;
    return t;
}

std::vector<ProbeTarget> CheckTargets::all(const QString& basedir)
{
    return all(SiteCatalogue::forBase(basedir), basedir);
}

std::vector<ProbeTarget> CheckTargets::all(const SiteCatalogue& catalogue, const QString& basedir)
{
    std::vector<ProbeTarget> targets;
    for (const QString& key : SiteCatalogue::siteKeys()) {
        for (ProbeTarget& t : forSite(catalogue, key, RecipeBook::endpointUses(key)))
            targets.push_back(std::move(t));
    }
    for (const auto& site : UserSites::load(basedir).sites) {
        for (ProbeTarget& t : forUserSite(*site))
            targets.push_back(std::move(t));
    }
    if (std::optional<ProbeTarget> mail = mailServer(basedir))
        targets.push_back(std::move(*mail));
    return targets;
}

std::vector<ProbeTarget> CheckTargets::forEntries(const QString& basedir, const QStringList& entryIds)
{
    const SiteCatalogue catalogue = SiteCatalogue::forBase(basedir);
    std::vector<ProbeTarget> targets;
    bool sendsMail = false;
    for (const RecipeBook::Row& row : RecipeBook::rows()) {
        if (!entryIds.contains(row.entry.id))
            continue;
        sendsMail = sendsMail || (row.uses & (UsesMailbox | UsesMailbox2));
        for (ProbeTarget& t : forSite(catalogue, row.entry.siteKey, row.uses, true))
            targets.push_back(std::move(t));
    }
    for (const auto& site : UserSites::load(basedir).sites) {
        if (!entryIds.contains(site->entry.id))
            continue;
        sendsMail = sendsMail || site->channel == UserSite::Channel::Mail;
        for (ProbeTarget& t : forUserSite(*site))
            targets.push_back(std::move(t));
    }
    if (sendsMail) {
        std::optional<ProbeTarget> mail = mailServer(basedir);
        if (!mail) {
            mail.emplace();
            mail->label = QStringLiteral("Mail server");
            mail->endpoint = QStringLiteral("SMTP");
            mail->unusable = QStringLiteral("not set up: the SMTP server of Check / Options");
        }
        targets.push_back(std::move(*mail));
    }
    return targets;
}
