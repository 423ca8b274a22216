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

#include <QFileInfo>

#include <optional>
#include <utility>

namespace {

bool g_running = false;
// What genlabel showed before a second press was refused, so the note goes when the run ends.
std::optional<QString> g_labelBeforeRefusal;
RunRecord g_lastRecord;

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

SubmissionRun::SubmissionRun(RunWindow& window, Channels& channels, bool preview)
    : m_window(window)
    , m_channels(channels)
    , m_record(g_lastRecord)
    , m_preview(preview)
{
}

const RunRecord& SubmissionRun::lastRecord()
{
    return g_lastRecord;
}

bool SubmissionRun::isRunning()
{
    return g_running;
}

QStringList SubmissionRun::controlNames()
{
    return RunControl::all();
}

SubmissionRun::Outcome SubmissionRun::start(RunWindow& window, Channels& channels, const QString& previewFolder)
{
    if (g_running) {
        if (!g_labelBeforeRefusal)
            g_labelBeforeRefusal = window.text(RunControl::genlabel);
        window.setText(RunControl::genlabel, AlreadyRunningMessage);
        dialogs().beep();
        return Outcome::Refused;
    }
    g_running = true;
    g_lastRecord = RunRecord();
    g_lastRecord.start = QDateTime::currentDateTime();
    RunRecord::setCurrent(&g_lastRecord);
    std::optional<PreviewChannels> preview;
    if (!previewFolder.isEmpty())
        preview.emplace(channels, previewFolder);
    g_lastRecord.setPreview(preview ? &preview->folder : nullptr);
    RecordingWindow recording(window, g_lastRecord);
    SubmissionRun run(recording, preview ? preview->channels : channels, preview.has_value());
    Outcome outcome;
    try {
        outcome = run.run();
    } catch (...) {
        try {
            run.noteAbort();
        } catch (...) {
        }
        window.setBusy(false);
        handleCurrentException();
        outcome = Outcome::Failed;
    }
    if (outcome != Outcome::Completed) {
        try {
            run.markNotReached(run.m_nextEntry);
        } catch (...) {
        }
    }
    RunRecord::setCurrent(nullptr);
    g_lastRecord.setPreview(nullptr);
    g_lastRecord.end = QDateTime::currentDateTime();
    g_running = false;
    if (const std::optional<QString> before = std::exchange(g_labelBeforeRefusal, std::nullopt)) {
        guarded([&] {
            if (window.text(RunControl::genlabel) == AlreadyRunningMessage)
                window.setText(RunControl::genlabel, *before);
        });
    }
    return outcome;
}

bool SubmissionRun::checkPreconditions(int* byteSize)
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

void SubmissionRun::noteAbort()
{
    const QString message = currentMessage();
    if (m_record.inSite()) {
        m_record.abortSite(m_window.text(RunControl::currentsite), message);
        ++m_nextEntry;
    }
}

void SubmissionRun::markNotReached(std::size_t index)
{
    if (!m_record.walked)
        return;
    const auto& entries = SiteCatalogue::entries();
    for (; index < entries.size(); ++index) {
        const SiteEntry& entry = entries[index];
        const QStringList boxes = tickedBoxes(m_window, entry);
        if (!boxes.isEmpty())
            m_record.notReached(entry.id, entry.siteKey, m_catalogue->endpoints(entry.siteKey).label, boxes);
    }
}

SubmissionRun::Outcome SubmissionRun::run()
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
    m_record.walked = true;
    const auto& entries = SiteCatalogue::entries();
    for (m_nextEntry = 0; m_nextEntry < entries.size(); ++m_nextEntry) {
        const SiteEntry& entry = entries[m_nextEntry];
        if (entry.cancelTest && w.cancelFlag())
            return Outcome::Cancelled;
        const QStringList boxes = tickedBoxes(w, entry);
        if (boxes.isEmpty())
            continue;
        m_record.beginSite(entry.id, entry.siteKey, boxes);
        startSiteClock();
        if (const Recipe recipe = RecipeBook::find(entry.id)) {
            SiteVisit visit{w, m_channels, entry, m_catalogue->endpoints(entry.siteKey), byteSize};
            m_channels.ftp.setSiteCaFile(visit.endpoints.caFile);
            try {
                recipe(visit);
            } catch (const SiteStepsEnded& ended) {
                if (ended.cancelled) {
                    m_record.endSite(w.text(RunControl::currentsite));
                    ++m_nextEntry;
                    return Outcome::Cancelled;
                }
            }
            if (visit.endsRun)
                return Outcome::EndedBySite;
        }
        m_record.endSite(w.text(RunControl::currentsite));
        w.processMessages();
    }

    w.setText(RunControl::currentsite, QString());
    w.setLamp(RunControl::httpled, false);
    w.setLamp(RunControl::ftpled, false);
    w.setLamp(RunControl::mailled, false);
    dialogs().showMessage(CompleteMessage);
    return Outcome::Completed;
}
