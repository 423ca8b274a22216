#pragma once

#include <QString>
#include <QStringList>

#include <optional>

#include "submit/RunRecord.h"
#include "submit/SiteCatalogue.h"

class RunWindow;
struct Channels;

// What happens when the user presses "Save/Submit": the saves, the four checks, and the walk of
// the site catalogue performing each ticked entry's recipe. One run at a time: the window keeps
// processing messages during a run, so a second press arrives inside the first and is refused.
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
    static inline const QString AlreadyRunningMessage
        = QStringLiteral("A submission is already running: wait for it to end or press Cancel.");

    // Performs a run on the window through the given transports. Never raises: failures end up in
    // the general error handler. With a preview folder, nothing is sent: the run goes through the
    // preview's stand-ins for the transports, which write what would go into that folder.
    static Outcome start(RunWindow& window, Channels& channels, const QString& previewFolder = QString());
    static bool isRunning();
    // The outcome of every ticked site of the last run that was not refused outright.
    static const RunRecord& lastRecord();

    // The controls the run frame itself reads or shows.
    static QStringList controlNames();

private:
    SubmissionRun(RunWindow& window, Channels& channels, bool preview);
    Outcome run();
    bool checkPreconditions(int* byteSize);
    // The sites still ticked from the entry at index on, as not reached.
    void markNotReached(std::size_t index);
    // The site under way as ended by the error being handled.
    void noteAbort();

    RunWindow& m_window;
    Channels& m_channels;
    RunRecord& m_record;
    bool m_preview; // the transports only write what would go
    std::size_t m_nextEntry = 0; // the walk's position: the first entry not yet begun
    std::optional<SiteCatalogue> m_catalogue; // as the walk read it; set whenever the record is walked
};
