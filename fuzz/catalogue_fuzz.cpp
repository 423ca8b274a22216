// Feeds arbitrary bytes to the site catalogue as cat/catalogue.dat. Every site gets endpoints, a
// site without a value of its own keeps the built-in one or the [ALL] one, and reading the same
// file twice gives the same endpoints.

#include "FileFuzzSupport.h"
#include "submit/SiteCatalogue.h"

namespace {

bool sameEndpoints(const SiteEndpoints& a, const SiteEndpoints& b)
{
    return a.host == b.host && a.ftpHost == b.ftpHost && a.mailbox == b.mailbox && a.mailbox2 == b.mailbox2
        && a.page == b.page && a.label == b.label && a.shortName == b.shortName && a.caFile == b.caFile;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString base = fuzzFolder();
    QDir().mkpath(base + QStringLiteral("/cat"));
    writeInput(SiteCatalogue::cataloguePath(base), data, size);

    const SiteCatalogue catalogue = SiteCatalogue::forBase(base);
    const SiteCatalogue again = SiteCatalogue::forBase(base);
    for (const QString& key : SiteCatalogue::siteKeys()) {
        const SiteEndpoints endpoints = catalogue.endpoints(key);
        if (!sameEndpoints(endpoints, again.endpoints(key)))
            fail("the same file gives other endpoints");
        if (endpoints.label.isEmpty() || endpoints.host.isEmpty() || endpoints.ftpHost.isEmpty())
            fail("a site lost its built-in endpoint");
        for (const QString* value : {&endpoints.host, &endpoints.ftpHost, &endpoints.mailbox, &endpoints.mailbox2})
            if (value->contains(QLatin1Char('\r')) || value->contains(QLatin1Char('\n')))
                fail("a line break inside an endpoint");
    }
    return 0;
}
