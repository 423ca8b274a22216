#pragma once

#include "submit/RunControls.h"
#include "submit/RunRecord.h"
#include "submit/RunWindow.h"

// The window as the run hands it to the recipes: everything passes through, each line the run log
// gets is also kept with the site under way, the steps report to the run's record, and the label
// the steps last showed as the current site is kept to name the site's result.
class RecordingWindow : public RunWindow
{
public:
    RecordingWindow(RunWindow& window, RunRecord& record)
        : m_w(window)
        , m_record(record)
    {
    }

    QString text(const QString& control) const override { return m_w.text(control); }
    void setText(const QString& control, const QString& text) override
    {
        if (control == RunControl::currentsite)
            m_currentSite = text;
        m_w.setText(control, text);
    }
    bool isChecked(const QString& control) const override { return m_w.isChecked(control); }
    void setChecked(const QString& control, bool checked) override { m_w.setChecked(control, checked); }
    void setLamp(const QString& lamp, bool lit) override { m_w.setLamp(lamp, lit); }
    void clearList(const QString& list) override { m_w.clearList(list); }
    void appendLog(const QString& line) override
    {
        m_w.appendLog(line);
        m_record.addLogLine(line);
    }
    void setBusy(bool busy) override { m_w.setBusy(busy); }
    void processMessages() override { m_w.processMessages(); }
    bool cancelFlag() const override { return m_w.cancelFlag(); }
    void setCancelFlag(bool set) override { m_w.setCancelFlag(set); }
    bool debugMode() const override { return m_w.debugMode(); }
    void debugEcho(const QString& text) override { m_w.debugEcho(text); }
    QString basedir() const override { return m_w.basedir(); }
    TextEncoding recordEncoding() const override { return m_w.recordEncoding(); }
    const UserSites* userSites() const override { return m_w.userSites(); }
    SiteReport& report() override { return m_record; }
    void savesettings() override { m_w.savesettings(); }
    void getsettings() override { m_w.getsettings(); }
    void savesite() override { m_w.savesite(); }

    const QString& currentSite() const { return m_currentSite; }

private:
    RunWindow& m_w;
    RunRecord& m_record;
    QString m_currentSite;
};
