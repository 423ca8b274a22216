#pragma once

#include "batch/RecordFiles.h"
#include "submit/RunWindow.h"

#include <QHash>
#include <QObject>
#include <QSet>
#include <QStringList>

#include <functional>

// The submission run's view of a program record without the window: the values the window's
// controls would hold after picking the program, read from the record's files and the settings,
// under the same control names. What a batch run sends is what the window would send.
class RecordRunWindow : public RunWindow
{
public:
    RecordRunWindow(const QString& basedir, const QString& program, const UserSites* own);

    // Each line the run log gets, as it is added.
    void setLogHandler(std::function<void(const QString&)> handler) { m_onLog = std::move(handler); }
    // The network settings taken (CA file, proxy, port), each time the settings are read.
    void setSettingsHandler(std::function<void(const RunWindow&)> handler) { m_onSettings = std::move(handler); }
    // The run's FTP trace, kept by the FTP driver: cleared with the list "ftplist".
    void setFtpTraceClear(std::function<void()> clear) { m_clearFtpTrace = std::move(clear); }

    // Sets exactly the given tick boxes.
    void tickOnly(const QStringList& boxes);
    // The site tick boxes set, the catalogue's first.
    QStringList tickedBoxes() const;
    const QStringList& logLines() const { return m_log; }

    QString text(const QString& control) const override;
    void setText(const QString& control, const QString& text) override;
    bool isChecked(const QString& control) const override;
    void setChecked(const QString& control, bool checked) override;
    void setLamp(const QString&, bool) override { }
    void clearList(const QString& list) override;
    void appendLog(const QString& line) override;
    void setBusy(bool) override { }
    void processMessages() override;
    bool cancelFlag() const override { return m_cancel; }
    void setCancelFlag(bool set) override { m_cancel = set; }
    bool debugMode() const override { return false; }
    void debugEcho(const QString&) override { }
    QString basedir() const override { return m_basedir; }
    TextEncoding recordEncoding() const override;
    const UserSites* userSites() const override { return m_own; }
    void savesettings() override;
    void getsettings() override;
    void savesite() override;

private:
    QString dataPath(const QString& name) const;

    QString m_basedir;
    const UserSites* m_own;
    QStringList m_userTicks;
    QStringList m_ticksInOrder;
    QHash<QString, QString> m_texts;
    QHash<QString, bool> m_ticks;
    // The memos' texts as a memo holds them (lines joined by LF), and as the run reads them.
    QSet<QString> m_memos;
    mutable QHash<QString, QString> m_memoCrLf;
    QStringList m_log;
    bool m_cancel = false;
    RecordEncoding m_encoding;
    QObject m_keyringContext; // the keyring's answer arrives while this view lives, or not at all
    std::function<void(const QString&)> m_onLog;
    std::function<void(const RunWindow&)> m_onSettings;
    std::function<void()> m_clearFtpTrace;
};
