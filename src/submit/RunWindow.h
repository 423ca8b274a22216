#pragma once

#include "core/TextEncoding.h"
#include "submit/SiteReport.h"

#include <QString>

// What the submission run sees of the main window. The controls hold the record, so the run
// reads them by name at the moment each value is needed and keeps no copy. The window implements
// this over its widgets; tests implement it over a map.
class UserSites;

class RunWindow
{
public:
    virtual ~RunWindow() = default;

    // The text of a control as it stands: edit, pick list, label. Multi-line memos give their lines
    // joined by CR LF. Raises QuilletError for a name the window does not have.
    virtual QString text(const QString& control) const = 0;
    virtual void setText(const QString& control, const QString& text) = 0;
    // Tick boxes.
    virtual bool isChecked(const QString& control) const = 0;
    virtual void setChecked(const QString& control, bool checked) = 0;
    // The three lamps "httpled", "ftpled", "mailled".
    virtual void setLamp(const QString& lamp, bool lit) = 0;

    // The run log ("log") and the FTP trace ("ftplist").
    virtual void clearList(const QString& list) = 0;
    virtual void appendLog(const QString& line) = 0;

    // The hourglass while a request is under way; calls may repeat, the last one counts.
    virtual void setBusy(bool busy) = 0;
    // Lets pending window messages run (Skip and Cancel act through this).
    virtual void processMessages() = 0;

    // Window state shared with the run controls.
    virtual bool cancelFlag() const = 0;
    virtual void setCancelFlag(bool set) = 0;
    virtual bool debugMode() const = 0;
    // Shows a request body in the String View window (debug mode only).
    virtual void debugEcho(const QString& text) = 0;
    virtual QString basedir() const = 0;
    // The encoding the current program's record is stored in: what the sites are sent is the
    // bytes the record holds.
    virtual TextEncoding recordEncoding() const { return TextEncoding::Utf8; }

    // The sites of one's own the window shows, which the run walks after the built-in ones; none
    // by default.
    virtual const UserSites* userSites() const { return nullptr; }
    // Where the steps report the outcome of the site under way: the run's record during a run.
    virtual SiteReport& report() { return SiteReport::nobody(); }
    // The window's operations the start of a run calls, in this order.
    virtual void savesettings() = 0;
    virtual void getsettings() = 0;
    virtual void savesite() = 0;
};
