#pragma once

#include "batch/ProgressPace.h"
#include "batch/SettingsFile.h"
#include "submit/RunHistory.h"
#include "submit/RunRecord.h"
#include "submit/SubmissionRun.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>

#include <memory>
#include <optional>

class FormRunWindow;
class FtpFormHost;
class PreviewDialog;
class RunResultsDialog;
class SubmissionHistoryDialog;
class TForm1;
class TftpForm1;
class THTTP;
class TSetupDlg;
class TSMTPForm;

// The run's wiring for the main window: the channels (the HTTP client, the FTP driver form, the
// mail form and its setup dialog), starting a run or a preview, Skip and Cancel, the time-outs,
// the reply capture, and the last run's results and report.
//
// Skip and Cancel run inside the run's waits: ending the HTTP wait makes the request under way
// end with 301 "Interrupted", and aborting the FTP transfer ends the upload with an error; the
// run logs either for that site. A mail under way is cancelled as the mail form's Cancel does: it
// ends with "Operation has been canceled", which fails that site (Skip) or ends the run (Cancel).
class RunController : public QObject
{
    Q_OBJECT

public:
    static constexpr int DefaultStallSeconds = Settings::DefaultTimeout;
    // The capture keeps the last ReplyCaptureLimit bytes of a reply, so an endless reply cannot
    // exhaust memory.
    static constexpr qint64 ReplyCaptureLimit = 1024 * 1024;

    explicit RunController(TForm1& form);
    ~RunController() override;

    THTTP* HTTP1() const { return m_http; }
    TSMTPForm* SMTPForm() const { return m_smtpForm.get(); }
    TSetupDlg* SetupDlg() const { return m_setupDlg.get(); }
    TftpForm1* ftpForm1() const { return m_ftpForm; }

    bool cancelflag() const { return m_cancelflag; }
    void setCancelflag(bool set) { m_cancelflag = set; }
    bool ftperror() const { return m_ftperror; }
    void setFtperror(bool set) { m_ftperror = set; }
    const QString& ftperrortext() const { return m_ftperrortext; }
    void setFtperrortext(const QString& text) { m_ftperrortext = text; }
    // How the last "Save/Submit" ended.
    std::optional<SubmissionRun::Outcome> runOutcome() const { return m_runOutcome; }
    // The runs of "Save/Submit" and of the preview: the one under way and the last one.
    SubmissionRun& submission() { return m_submission; }
    const SubmissionRun& submission() const { return m_submission; }
    // Where runs write their report; empty: basedir/reports/<program> <time>.json
    const QString& reportFile() const { return m_reportFile; }
    void setReportFile(const QString& path) { m_reportFile = path; }
    // Asked before a run that sends; false: no run.
    void setMaySubmit(std::function<bool()> ask) { m_maySubmit = std::move(ask); }
    // Runs write what they would send into this folder and send nothing; empty: they send.
    void setPreviewFolder(const QString& folder) { m_previewFolder = folder; }
    // The report the last run wrote.
    const QString& lastReportPath() const { return m_lastReportPath; }

    // The CA file and the proxy of the Check / Options page, handed to the clients. A proxy port
    // that is no port number raises the conversion error, after everything else is set.
    void applyNetworkSettings();

    void submitClick();
    // The run as "Save/Submit" would make it, written into a preview folder instead of sent; the
    // tick boxes and the stored record are left as they were. The dialog that lists what went.
    PreviewDialog* previewSubmission();
    // The results of the last run, in a dialog of their own (not modal); the dialog shown.
    // The last run's results; after a restart, those of the newest report.
    RunResultsDialog* showRunResults();
    // The results of a run read back from its report.
    RunResultsDialog* showPastRun(const RunHistory::PastRun& run);
    // "Submission History…": the shown program's runs, each opening its results.
    SubmissionHistoryDialog* showSubmissionHistory();
    void writeRunReport();
    void skipClick();
    void cancelClick();
    // A run in progress must not go on submitting behind a closed window: its waits end now and
    // it stops at its next cancel test.
    void stop();

    // A network wait saw no progress for the set time: what Skip does, with a log line saying so.
    void stallTimeout(int seconds);
    // What Skip does, with the site's log line and report giving reason.
    void timeOut(const QString& reason);
    // Overrides the Check / Options time-out for the runs of this window (batch --timeout).
    void setStallSeconds(int seconds) { m_stallOverride = seconds; }
    int stallSeconds() const;
    // Every site's time in all: ten times the stall time-out unless set (batch --site-limit); 0
    // for none. When it runs out, what the time-out does.
    void setSiteLimitSeconds(int seconds) { m_siteLimitOverride = seconds; }
    int siteLimitSeconds() const;
    void siteTimeout(int seconds);

    // HTTP1 transfer events: reply capture and byte display.
    void HTTP1StartTransfer();
    void HTTP1Transfer(qint64 count, const QByteArray& piece);
    void HTTP1EndTransfer();

signals:
    // A run (or a preview) has ended, its tick boxes and texts as it left them.
    void runEnded();

private:
    RunResultsDialog* showResults(const RunRecord& record, const QString& title);
    TForm1& m_form;
    THTTP* m_http;
    // The mail form and its setup dialog: windows of their own (not children of the main window),
    // living as long as it.
    std::unique_ptr<TSMTPForm> m_smtpForm;
    std::unique_ptr<TSetupDlg> m_setupDlg;
    std::unique_ptr<FtpFormHost> m_ftpHost;
    TftpForm1* m_ftpForm; // the FTP driver form, hidden; the run uploads through it

    FormRunWindow* m_window = nullptr; // the run's view of the window while a run goes
    SubmissionRun m_submission;
    bool m_cancelflag = false;
    bool m_ftperror = false;
    QString m_ftperrortext;
    std::optional<SubmissionRun::Outcome> m_runOutcome;
    QString m_reportFile;
    QString m_previewFolder;
    std::function<bool()> m_maySubmit;
    QString m_lastReportPath;
    int m_stallOverride = -1;
    int m_siteLimitOverride = -1;
    QPointer<RunResultsDialog> m_resultsDialog;
    bool m_previewing = false; // a preview run: no report, counts or results dialog
    RunRecord m_lastRun; // the outcomes of the last run that sent (a preview's are its own)
    qint64 m_xferBytes = 0; // bytes of the reply held in xfer
    ProgressPace m_replyPace; // the reply's byte count shown a few times a second
};
