#include "submit/RunRecord.h"

#include "submit/PreviewFolder.h"

namespace {

struct OutcomeName
{
    SiteResult::Outcome outcome;
    const char* name;
};

constexpr OutcomeName kNames[] = {
    {SiteResult::Outcome::Sent, "sent"},
    {SiteResult::Outcome::Failed, "failed"},
    {SiteResult::Outcome::Skipped, "skipped"},
    {SiteResult::Outcome::Refused, "refused"},
    {SiteResult::Outcome::NotReached, "not reached"},
    {SiteResult::Outcome::NotSetUp, "not set up"},
};

} // namespace

QString SiteResult::outcomeName(Outcome outcome)
{
    for (const OutcomeName& n : kNames)
        if (n.outcome == outcome)
            return QString::fromLatin1(n.name);
    return QString();
}

std::optional<SiteResult::Outcome> SiteResult::outcomeFromName(const QString& name)
{
    for (const OutcomeName& n : kNames)
        if (name == QLatin1String(n.name))
            return n.outcome;
    return std::nullopt;
}

int RunRecord::count(SiteResult::Outcome outcome) const
{
    int n = 0;
    for (const SiteResult& s : sites)
        n += s.outcome == outcome ? 1 : 0;
    return n;
}

bool RunRecord::allSent() const
{
    return count(SiteResult::Outcome::Sent) == static_cast<int>(sites.size());
}

QString RunRecord::countsText() const
{
    using O = SiteResult::Outcome;
    QString text = (preview ? QStringLiteral("%1 previewed, %2 failed, %3 skipped")
                            : QStringLiteral("%1 sent, %2 failed, %3 skipped"))
                       .arg(count(O::Sent))
                       .arg(count(O::Failed))
                       .arg(count(O::Skipped));
    if (const int n = count(O::Refused))
        text += QStringLiteral(", %1 refused").arg(n);
    if (const int n = count(O::NotReached))
        text += QStringLiteral(", %1 not reached").arg(n);
    if (const int n = count(O::NotSetUp))
        text += QStringLiteral(", %1 not set up").arg(n);
    return text;
}

void RunRecord::beginSite(const QString& entry, const QString& siteKey, const QStringList& boxes)
{
    SiteResult result;
    result.entry = entry;
    result.siteKey = siteKey;
    result.boxes = boxes;
    sites.push_back(result);
    m_inSite = true;
    m_attempted = false;
    m_failed = false;
    m_refusal.clear();
    m_skipReason.clear();
    m_previewMark = m_preview ? m_preview->written().size() : 0;
    m_timer.start();
}

void RunRecord::endSite(const QString& label)
{
    if (!m_inSite)
        return;
    SiteResult& s = site();
    // A step the current site showed ("Simtel  (Creating Zip File)") is no part of its name.
    s.label = label.section(QStringLiteral("  ("), 0, 0);
    s.seconds = m_timer.nsecsElapsed() / 1e9; // elapsed() would cut every site to whole milliseconds
    if (m_preview)
        s.previewItems = m_preview->written().mid(m_previewMark);
    using O = SiteResult::Outcome;
    if (m_failed && !m_skipReason.isEmpty()) {
        s.outcome = O::Skipped;
        s.detail = m_skipReason + QStringLiteral(": ") + s.detail;
    } else if (m_failed) {
        s.outcome = O::Failed;
    } else if (!m_refusal.isEmpty()) {
        s.outcome = O::Refused;
        s.detail = m_refusal;
    } else if (!m_attempted) {
        // Steps that send nothing and report nothing: the site's own logic turned it down.
        s.outcome = O::Refused;
        s.detail = s.logLines.isEmpty() ? QStringLiteral("Nothing was sent") : s.logLines.last();
    } else {
        s.outcome = O::Sent;
    }
    m_inSite = false;
}

void RunRecord::abortSite(const QString& label, const QString& detail)
{
    if (!m_inSite)
        return;
    if (!m_failed)
        failed(QStringLiteral("run"), detail);
    endSite(label);
    // The error ended the run, whichever step it came from.
    if (site().outcome == SiteResult::Outcome::Refused) {
        site().outcome = SiteResult::Outcome::Failed;
        site().detail = detail;
    }
}

void RunRecord::notSetUp(const QString& label, const QString& detail)
{
    if (!m_inSite)
        return;
    endSite(label);
    site().outcome = SiteResult::Outcome::NotSetUp;
    site().detail = detail;
}

void RunRecord::notReached(const QString& entry, const QString& siteKey, const QString& label, const QStringList& boxes)
{
    SiteResult result;
    result.entry = entry;
    result.siteKey = siteKey;
    result.label = label;
    result.boxes = boxes;
    result.outcome = SiteResult::Outcome::NotReached;
    sites.push_back(result);
}

void RunRecord::addLogLine(const QString& line)
{
    if (m_inSite)
        site().logLines.append(line);
}

void RunRecord::channel(const QString& name)
{
    if (m_inSite && !site().channels.contains(name))
        site().channels.append(name);
}

void RunRecord::failed(const QString& step, const QString& detail)
{
    if (!m_inSite || m_failed)
        return;
    m_failed = true;
    site().step = step;
    site().detail = detail;
}

void RunRecord::refused(const QString& detail)
{
    if (m_inSite && m_refusal.isEmpty())
        m_refusal = detail;
}

void RunRecord::skipped(const QString& reason)
{
    if (m_inSite && m_skipReason.isEmpty())
        m_skipReason = reason;
}

void RunRecord::reply(const QString& text)
{
    if (!m_inSite)
        return;
    QString& kept = site().replies;
    const qsizetype room = ReplyLimit - kept.size();
    if (room <= 0)
        return;
    if (!kept.isEmpty())
        kept += QStringLiteral("\n\n");
    kept += text.left(room);
}

QStringList boxesToRetry(const RunRecord& record)
{
    QStringList boxes;
    for (const SiteResult& s : record.sites) {
        using O = SiteResult::Outcome;
        // A site that was not set up was not sent either: once set up, a retry sends it.
        if (s.outcome == O::Failed || s.outcome == O::Skipped || s.outcome == O::NotReached || s.outcome == O::NotSetUp)
            boxes += s.boxes;
    }
    return boxes;
}
