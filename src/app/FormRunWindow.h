#pragma once

#include "submit/RunWindow.h"

class QWidget;
class TForm1;

// The submission run's view of the main window, over its controls found by name.
class FormRunWindow : public RunWindow
{
public:
    explicit FormRunWindow(TForm1& form);
    ~FormRunWindow() override;

    QString text(const QString& control) const override;
    void setText(const QString& control, const QString& text) override;
    bool isChecked(const QString& control) const override;
    void setChecked(const QString& control, bool checked) override;
    void setLamp(const QString& lamp, bool lit) override;
    void clearList(const QString& list) override;
    void appendLog(const QString& line) override;
    void setBusy(bool busy) override;
    void processMessages() override;
    bool cancelFlag() const override;
    void setCancelFlag(bool set) override;
    bool debugMode() const override;
    void debugEcho(const QString& text) override;
    QString basedir() const override;
    TextEncoding recordEncoding() const override;
    const UserSites* userSites() const override;
    void savesettings() override;
    void getsettings() override;
    void savesite() override;

    // The site as the run last named it in currentsite.
    const QString& currentSite() const { return m_currentSite; }

private:
    QWidget* find(const QString& name) const;

    TForm1& m_form;
    bool m_busy = false;
    QString m_currentSite;
};
