#include "submit/SiteReport.h"

#include "submit/RunRecord.h"

// Each call goes to the record of the run under way; outside a run there is none.
namespace SiteReport {

void channel(const QString& name)
{
    if (RunRecord* record = RunRecord::current())
        record->channel(name);
}

void attempted()
{
    if (RunRecord* record = RunRecord::current())
        record->attempted();
}

void failed(const QString& step, const QString& detail)
{
    if (RunRecord* record = RunRecord::current())
        record->failed(step, detail);
}

void refused(const QString& detail)
{
    if (RunRecord* record = RunRecord::current())
        record->refused(detail);
}

void skipped(const QString& reason)
{
    if (RunRecord* record = RunRecord::current())
        record->skipped(reason);
}

void reply(const QString& text)
{
    if (RunRecord* record = RunRecord::current())
        record->reply(text);
}

} // namespace SiteReport
