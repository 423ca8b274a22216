#include "submit/SubmissionRun.h"

#include "core/Dialogs.h"
#include "core/Errors.h"
#include "net/NetworkWait.h"
#include "submit/ArchiveCheck.h"
#include "submit/Channels.h"
#include "submit/FtpChannel.h"
#include "submit/MailSteps.h"
#include "submit/PreviewChannels.h"
#include "submit/RecipeBook.h"
#include "submit/RecordingWindow.h"
#include "submit/RunControls.h"
#include "submit/RunWindow.h"
#include "submit/SiteCatalogue.h"
#include "submit/UserSites.h"

#include <QFileInfo>

#include <algorithm>

#include <optional>
#include <utility>

namespace {

QStringList tickedBoxes(const RunWindow& w, const SiteEntry& entry)
{
    QStringList boxes;
    for (const QString& box : {entry.newBox, entry.updateBox})
        if (!box.isEmpty() && w.isChecked(box))
            boxes.append(box);
    return boxes;
}

// The current exception's message, as the general error handler would show it.
QString currentMessage()
{
    try {
        throw;
    } catch (const QuilletError& e) {
        return e.message();
    } catch (const std::exception& e) {
        return QString::fromLocal8Bit(e.what());
    } catch (...) {
        return QStringLiteral("Unknown error");
    }
}

} // namespace

// One run's walk of the catalogue, reporting into the record it is given.
class SubmissionRun::Walk
{
public:
    Walk(RecordingWindow& window, Channels& channels, RunRecord& record, const SiteStartHandler& onSiteStart,
        bool preview)
        : m_window(window)
        , m_channels(channels)
        , m_record(record)
        , m_onSiteStart(onSiteStart)
        , m_preview(preview)
    {
    }

    Outcome run();
    // The site under way as ended by the error being handled.
    void noteAbort();
    // The sites still ticked from the first entry not yet begun on, as not reached.
    void markNotReached();

private:
    // One stop of the walk: a catalogue row, or a site of one's own after them.
    struct Stop
    {
        const SiteEntry& entry;
        Recipe recipe;
        const UserSite* own = nullptr;
        unsigned uses = 0; // the catalogue endpoints a built-in row sends to (EndpointUse flags)
    };

    bool checkPreconditions(int* byteSize);
    // Which settings of cat/catalogue.dat the stop still lacks, as the log says it; empty when set up.
    QString missingSetting(const Stop& stop) const;
    void plan();
    QString label(const Stop& stop) const
    {
        return stop.own ? stop.own->label : m_catalogue->label(stop.entry.siteKey);
    }

    RecordingWindow& m_window;
    Channels& m_channels;
    RunRecord& m_record;
    const SiteStartHandler& m_onSiteStart;
    bool m_preview; // the transports only write what would go
    std::size_t m_nextEntry = 0; // the walk's position: the first entry not yet begun
    std::optional<SiteCatalogue> m_catalogue; // as the walk read it; set whenever the record is walked
    std::vector<Stop> m_stops; // set whenever the record is walked
};

void SubmissionRun::Walk::plan()
{
    m_stops.clear();
    for (const RecipeBook::Row& row : RecipeBook::rows())
        m_stops.push_back({row.entry, row.recipe, nullptr, row.uses});
    if (const UserSites* own = m_window.userSites()) {
        for (const std::shared_ptr<const UserSite>& site : own->sites)
            m_stops.push_back({site->entry, [site](SiteVisit& visit) { site->perform(visit); }, site.get()});
    }
}

QStringList SubmissionRun::controlNames()
{
    return RunControl::all();
}

SiteReport& SubmissionRun::report()
{
    return m_running ? static_cast<SiteReport&>(m_lastRecord) : SiteReport::nobody();
}

SubmissionRun::Outcome SubmissionRun::start(RunWindow& window, Channels& channels, const QString& previewFolder)
{
    if (m_running) {
        if (!m_labelBeforeRefusal)
            m_labelBeforeRefusal = window.text(RunControl::genlabel);
        window.setText(RunControl::genlabel, AlreadyRunningMessage);
        dialogs().beep();
        return Outcome::Refused;
    }
    m_running = true;
    m_lastRecord = RunRecord();
    m_lastRecord.start = QDateTime::currentDateTime();
    m_lastRecord.preview = !previewFolder.isEmpty();
    std::optional<PreviewChannels> preview;
    if (!previewFolder.isEmpty())
        preview.emplace(channels, previewFolder);
    m_lastRecord.setPreview(preview ? &preview->folder : nullptr);
    RecordingWindow recording(window, m_lastRecord);
    Walk walk(recording, preview ? preview->channels : channels, m_lastRecord, m_onSiteStart, preview.has_value());
    Outcome outcome;
    try {
        outcome = walk.run();
    } catch (...) {
        try {
            walk.noteAbort();
        } catch (...) {
        }
        window.setBusy(false);
        handleCurrentException();
        outcome = Outcome::Failed;
    }
    if (outcome != Outcome::Completed) {
        try {
            walk.markNotReached();
        } catch (...) {
        }
    }
    m_lastRecord.setPreview(nullptr);
    m_lastRecord.end = QDateTime::currentDateTime();
    m_running = false;
    if (const std::optional<QString> before = std::exchange(m_labelBeforeRefusal, std::nullopt)) {
        guarded([&] {
            if (window.text(RunControl::genlabel) == AlreadyRunningMessage)
                window.setText(RunControl::genlabel, *before);
        });
    }
    return outcome;
}

bool SubmissionRun::Walk::checkPreconditions(int* byteSize)
{
    try {
        *byteSize = toInteger(m_window.text(RunControl::bytesize));
    } catch (const EConvertError&) {
        dialogs().showMessage(QStringLiteral("Invalid Byte Size"));
        return false;
    }
    if (m_window.text(RunControl::appname).isEmpty()) {
        dialogs().showMessage(QStringLiteral("You have not selected an app to submit."));
        return false;
    }
    if (m_window.text(RunControl::char8name).isEmpty()) {
        dialogs().showMessage(QStringLiteral("The 8 Character Filename for this app is blank."));
        return false;
    }
    const QString path = m_window.text(RunControl::localpath);
    if (path.isEmpty() || !QFileInfo(path).isFile()) {
        dialogs().showMessage(QStringLiteral("You have selected an invalid local path for this application's file."));
        return false;
    }
    return true;
}

QString SubmissionRun::Walk::missingSetting(const Stop& stop) const
{
    if (stop.own) {
        // A site of one's own names its endpoints itself, and is set up unless one is a stand-in.
        const QString key = stop.own->placeholderKey();
        if (key.isEmpty())
            return {};
        return QStringLiteral("%1 in cat/sites/%2 (still a placeholder under .example)")
            .arg(key, QFileInfo(stop.own->file).fileName());
    }
    const QStringList missing = m_catalogue->missingSettings(stop.entry.siteKey, stop.uses);
    if (missing.isEmpty())
        return {};
    return missing.join(QStringLiteral(", "))
        + QStringLiteral(" of cat/catalogue.dat (still the built-in placeholder)");
}

void SubmissionRun::Walk::noteAbort()
{
    const QString message = currentMessage();
    if (m_record.inSite()) {
        m_record.abortSite(m_window.currentSite(), message);
        ++m_nextEntry;
    }
}

void SubmissionRun::Walk::markNotReached()
{
    if (!m_record.walked)
        return;
    for (std::size_t index = m_nextEntry; index < m_stops.size(); ++index) {
        const SiteEntry& entry = m_stops[index].entry;
        const QStringList boxes = tickedBoxes(m_window, entry);
        if (!boxes.isEmpty())
            m_record.notReached(entry.id, entry.siteKey, label(m_stops[index]), boxes);
    }
}

SubmissionRun::Outcome SubmissionRun::Walk::run()
{
    RunWindow& w = m_window;
    w.setCancelFlag(false);
    MailSteps::takeSettings(w, m_channels.mail);
    w.clearList(RunControl::ftplist);
    w.clearList(RunControl::log);
    w.savesettings();
    w.getsettings();
    w.savesite();
    w.processMessages();

    int byteSize = 0;
    if (!checkPreconditions(&byteSize))
        return Outcome::PreconditionFailed;

    // A killed run's half-made archives; a preview changes nothing in the base folder.
    if (!m_preview)
        ArchiveCheck::removeStaleTemporaries(w.basedir() + QStringLiteral("/files"));
    m_record.program = w.text(RunControl::appname);
    try {
        m_record.version = w.text(QStringLiteral("version"));
    } catch (const QuilletError&) {
        // A window without the field still gets its record.
    }
    // Read afresh for every run, so an edited catalogue takes effect without a restart.
    m_catalogue.emplace(SiteCatalogue::forBase(w.basedir()));
    plan();
    m_record.walked = true;
    int tickedCount = 0;
    int number = 0;
    if (m_onSiteStart) {
        for (const Stop& stop : m_stops)
            tickedCount += tickedBoxes(w, stop.entry).isEmpty() ? 0 : 1;
    }
    for (m_nextEntry = 0; m_nextEntry < m_stops.size(); ++m_nextEntry) {
        const Stop& stop = m_stops[m_nextEntry];
        const SiteEntry& entry = stop.entry;
        const Recipe& recipe = stop.recipe;
        if (entry.cancelTest && w.cancelFlag())
            return Outcome::Cancelled;
        const QStringList boxes = tickedBoxes(w, entry);
        if (boxes.isEmpty())
            continue;
        if (m_onSiteStart)
            m_onSiteStart(++number, std::max(number, tickedCount), label(stop));
        m_record.beginSite(entry.id, entry.siteKey, boxes);
        startSiteClock();
        // A preview writes what would go even to placeholders; a real run sends nothing there.
        if (const QString missing = m_preview ? QString() : missingSetting(stop); !missing.isEmpty()) {
            const QString label = this->label(stop);
            w.setText(RunControl::currentsite, label);
            w.appendLog(label + QStringLiteral(": not set up: ") + missing);
            m_record.notSetUp(label, missing);
            w.processMessages();
            continue;
        }
        if (recipe) {
            SiteVisit visit{
                w, m_channels, entry, stop.own ? stop.own->endpoints : m_catalogue->endpoints(entry.siteKey), byteSize};
            m_channels.ftp.setSiteCaFile(visit.endpoints.caFile);
            try {
                recipe(visit);
            } catch (const SiteStepsEnded& ended) {
                if (ended.cancelled) {
                    m_record.endSite(m_window.currentSite());
                    ++m_nextEntry;
                    return Outcome::Cancelled;
                }
            }
            if (visit.endsRun)
                return Outcome::EndedBySite;
        }
        m_record.endSite(m_window.currentSite());
        w.processMessages();
    }

    w.setText(RunControl::currentsite, QString());
    w.setLamp(RunControl::httpled, false);
    w.setLamp(RunControl::ftpled, false);
    w.setLamp(RunControl::mailled, false);
    dialogs().showMessage(m_preview ? PreviewCompleteMessage : CompleteMessage);
    return Outcome::Completed;
}
