#pragma once

#include "net/EndpointProbe.h"

#include <QStringList>

#include <optional>
#include <vector>

class SiteCatalogue;
class UserSite;

// What the reachability check tries: the endpoints the run would use, each as the run would reach
// it (scheme, port, TLS, the site's CA file).
namespace CheckTargets {

// The endpoints a catalogue site sends to (uses: EndpointUse flags). A web or FTP host the
// catalogue does not give is left out, or with withUnset kept as "not set up" (it is not tried).
std::vector<ProbeTarget> forSite(
    const SiteCatalogue& catalogue, const QString& siteKey, unsigned uses, bool withUnset = false);
// The mail server of cat/settings.dat, with its security and CA file; nothing when none is set.
std::optional<ProbeTarget> mailServer(const QString& basedir);

// The web or FTP host a site of one's own (cat/sites/*.site) sends to; a mail site has none of
// its own (it goes through the mail server).
std::vector<ProbeTarget> forUserSite(const UserSite& site);

// Every configured endpoint: each catalogue site's web and FTP hosts, those of the sites of one's
// own, then the mail server.
std::vector<ProbeTarget> all(const QString& basedir);
// The same for a catalogue as given (the endpoints dialog's edits before they are saved).
std::vector<ProbeTarget> all(const SiteCatalogue& catalogue, const QString& basedir);
// The endpoints the given entries (catalogue entries and sites of one's own, by id) would use, set
// up or not, and the mail server when one of them sends mail.
std::vector<ProbeTarget> forEntries(const QString& basedir, const QStringList& entryIds);

} // namespace CheckTargets
