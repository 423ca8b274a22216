#include "submit/SubmissionRun.h"

#include "core/Dialogs.h"
#include "core/Errors.h"
#include "submit/MailSteps.h"
#include "submit/RecipeBook.h"
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

} // namespace

SubmissionRun::SubmissionRun(RunWindow& window, Channels& channels)
    : m_window(window)
    , m_channels(channels)
{
}

bool SubmissionRun::isRunning()
{
    return g_running;
}

QStringList SubmissionRun::controlNames()
{
    return RunControl::all();
}

SubmissionRun::Outcome SubmissionRun::start(RunWindow& window, Channels& channels)
{
    if (g_running) {
        if (!g_labelBeforeRefusal)
            g_labelBeforeRefusal = window.text(RunControl::genlabel);
        window.setText(RunControl::genlabel, AlreadyRunningMessage);
        dialogs().beep();
        return Outcome::Refused;
    }
    g_running = true;
    Outcome outcome;
    try {
        outcome = SubmissionRun(window, channels).run();
    } catch (...) {
        window.setBusy(false);
        handleCurrentException();
        outcome = Outcome::Failed;
    }
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

    // Read afresh for every run, so an edited catalogue takes effect without a restart.
    const SiteCatalogue catalogue = SiteCatalogue::forBase(w.basedir());
    for (const SiteEntry& entry : SiteCatalogue::entries()) {
        if (entry.cancelTest && w.cancelFlag())
            return Outcome::Cancelled;
        const bool ticked = (!entry.newBox.isEmpty() && w.isChecked(entry.newBox))
            || (!entry.updateBox.isEmpty() && w.isChecked(entry.updateBox));
        if (!ticked)
            continue;
        if (const Recipe recipe = RecipeBook::find(entry.id)) {
            SiteVisit visit{w, m_channels, entry, catalogue.endpoints(entry.siteKey), byteSize};
            recipe(visit);
            if (visit.endsRun)
                return Outcome::EndedBySite;
        }
        w.processMessages();
    }

    w.setText(RunControl::currentsite, QString());
    w.setLamp(RunControl::httpled, false);
    w.setLamp(RunControl::ftpled, false);
    w.setLamp(RunControl::mailled, false);
    dialogs().showMessage(CompleteMessage);
    return Outcome::Completed;
}
