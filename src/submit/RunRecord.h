#pragma once

#include "submit/SiteReport.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

class PreviewFolder;

// What became of one ticked catalogue entry in a run.
struct SiteResult
{
    enum class Outcome { Sent, Failed, Skipped, Refused, NotReached, NotSetUp };

    QString entry; // the catalogue entry id
    QString siteKey;
    QString label; // what the Submit page showed as the current site
    QStringList boxes; // the tick boxes that were set when the site was visited
    QStringList channels;
    Outcome outcome = Outcome::NotReached;
    QString detail; // the failure's log text, the refusal, the skip's reason
    QString step; // for a failure: the step that failed
    double seconds = 0;
    QStringList logLines; // what the site added to the run log
    QStringList previewItems; // in a preview: the files written for the site, relative to its folder
    QString replies; // in debug mode: the servers' replies, as the responses folder gets them

    static QString outcomeName(Outcome outcome);
    static std::optional<Outcome> outcomeFromName(const QString& name);
};

// The outcomes of one run, one per ticked entry, in the order of the walk. While a site is under
// way its steps report to it.
class RunRecord : public SiteReport
{
public:
    QString program;
    QString version;
    QDateTime start;
    QDateTime end;
    std::vector<SiteResult> sites;
    bool walked = false; // the checks passed and the walk of the sites began
    bool preview = false; // nothing was sent: what each site would get was written instead

    int count(SiteResult::Outcome outcome) const;
    bool allSent() const;
    // "52 sent, 3 failed, 1 skipped" ("52 previewed, …" for a preview), then refused, not reached
    // and not set up when there are any.
    QString countsText() const;

    // The run frame's side.
    void beginSite(const QString& entry, const QString& siteKey, const QStringList& boxes);
    // Ends the site under way; the outcome follows from what its steps reported.
    void endSite(const QString& label);
    // Ends the site under way as failed by an error that ended the run.
    void abortSite(const QString& label, const QString& detail);
    // Ends the site under way as not set up: nothing was sent, detail says which setting is missing.
    void notSetUp(const QString& label, const QString& detail);
    void notReached(const QString& entry, const QString& siteKey, const QString& label, const QStringList& boxes);
    bool inSite() const { return m_inSite; }
    void addLogLine(const QString& line);
    // In a preview run: the folder whose written items each site lists; none outside one.
    void setPreview(const PreviewFolder* folder) { m_preview = folder; }

    // The steps' side.
    void channel(const QString& name) override;
    void attempted() override { m_attempted = true; }
    void failed(const QString& step, const QString& detail) override;
    void refused(const QString& detail) override;
    void skipped(const QString& reason) override;
    void reply(const QString& text) override;

    // Replies kept per site at most; the newest reply is cut to fit.
    static constexpr qsizetype ReplyLimit = 1024 * 1024;

private:
    SiteResult& site() { return sites.back(); }

    bool m_inSite = false;
    bool m_attempted = false;
    bool m_failed = false;
    QString m_refusal;
    QString m_skipReason;
    QElapsedTimer m_timer;
    const PreviewFolder* m_preview = nullptr;
    qsizetype m_previewMark = 0;
};

// The tick boxes that send a run's failed, skipped, not-reached and not-set-up sites again, as they were set
// when the run came to them.
QStringList boxesToRetry(const RunRecord& record);
