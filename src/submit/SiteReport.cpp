#include "submit/SiteReport.h"

namespace {

class NoReport final : public SiteReport
{
public:
    void channel(const QString&) override { }
    void attempted() override { }
    void failed(const QString&, const QString&) override { }
    void refused(const QString&) override { }
    void skipped(const QString&) override { }
    void reply(const QString&) override { }
};

} // namespace

SiteReport& SiteReport::nobody()
{
    static NoReport none;
    return none;
}
