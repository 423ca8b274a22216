#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

#include "submit/RunRecord.h"
#include "submit/SiteCatalogue.h"

class RunWindow;
struct Channels;

// What happens when the user presses "Save/Submit": the saves, the four checks, and the walk of
// the site catalogue performing each ticked entry's recipe. The window (or batch mode) owns one
// and runs through it, one run at a time: the window keeps processing messages during a run, so a
// second press arrives inside the first and is refused.
class SubmissionRun
{
public:
    enum class Outcome {
        Completed, // reached "Shareware Submission is complete"
        Refused, // another run was going
        PreconditionFailed, // one of the four checks showed its message
        Cancelled, // a cancel test found cancelflag set
        EndedBySite, // a site's recipe ended it, silently
        Failed, // an error ended it through the general error handler
    };

    static inline const QString CompleteMessage = QStringLiteral("Shareware Submission is complete");
    // A preview sent nothing, and says so.
    static inline const QString PreviewCompleteMessage = QStringLiteral("Preview is complete");
    static inline const QString AlreadyRunningMessage
        = QStringLiteral("A submission is already running: wait for it to end or press Cancel.");

    // Performs a run on the window through the given transports. Never raises: failures end up in
    // the general error handler. With a preview folder, nothing is sent: the run goes through the
    // preview's stand-ins for the transports, which write what would go into that folder.
    Outcome start(RunWindow& window, Channels& channels, const QString& previewFolder = QString());
    bool isRunning() const { return m_running; }
    // The outcome of every ticked site of the last run that was not refused outright.
    const RunRecord& lastRecord() const { return m_lastRecord; }
    // Where reports of the site under way go: the run's record during a run, nobody otherwise.
    SiteReport& report();

    // The controls the run frame itself reads or shows.
    static QStringList controlNames();

    // Told as each ticked site's turn comes: its number among the sites ticked when the walk
    // began, their count, and the site's name on the Sites page.
    using SiteStartHandler = std::function<void(int number, int count, const QString& label)>;
    void setSiteStartHandler(SiteStartHandler handler) { m_onSiteStart = std::move(handler); }

private:
    class Walk;

    SiteStartHandler m_onSiteStart;

    bool m_running = false;
    // What genlabel showed before a second press was refused, so the note goes when the run ends.
    std::optional<QString> m_labelBeforeRefusal;
    RunRecord m_lastRecord;
};
