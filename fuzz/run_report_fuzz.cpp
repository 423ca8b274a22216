// Feeds arbitrary bytes to the report reader that --retry-failed uses. A report it accepts is
// written back and read again to the same report (the round trip is stable).

#include "FuzzSupport.h"
#include "submit/RunReport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    const std::optional<RunRecord> record = RunReport::fromJson(input);
    if (!record)
        return 0;
    const QByteArray written = RunReport::toJson(*record);
    const std::optional<RunRecord> reread = RunReport::fromJson(written);
    if (!reread)
        fail("a written report does not read");
    if (RunReport::toJson(*reread) != written)
        fail("the round trip changed the report");
    (void)boxesToRetry(*record);
    return 0;
}
