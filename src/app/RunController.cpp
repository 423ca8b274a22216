#include "app/RunController.h"

#include "app/FormRunWindow.h"
#include "app/ListEnd.h"
#include "app/MailFormChannel.h"
#include "app/PreviewDialog.h"
#include "app/RunResultsDialog.h"
#include "app/SiteTicks.h"
#include "app/SubmissionHistoryDialog.h"
#include "app/TForm1.h"
#include "app/TSMTPForm.h"
#include "app/TSetupDlg.h"
#include "app/TftpForm1.h"
#include "batch/DataSnapshot.h"
#include "batch/ReplyCapture.h"
#include "batch/RunTimeouts.h"
#include "core/Dialogs.h"
#include "core/Errors.h"
#include "net/NetworkWait.h"
#include "net/TFTP.h"
#include "net/THTTP.h"
#include "submit/Channels.h"
#include "submit/HttpClientChannel.h"
#include "submit/MailChannel.h"
#include "submit/RunReport.h"
#include "submit/SiteCatalogue.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

namespace {

// The main window as the FTP driver form's host.
class FormFtpHost : public FtpFormHost
{
public:
    explicit FormFtpHost(TForm1& form)
        : m_form(form)
    {
    }

    bool ftperror() const override { return m_form.ftperror(); }
    void setFtperror(bool set) override { m_form.setFtperror(set); }
    const QString& ftperrortext() const override { return m_form.ftperrortext(); }
    void setFtperrortext(const QString& text) override { m_form.setFtperrortext(text); }
    QString caFile() const override { return m_form.cafileedit()->text(); }
    void addFtpTrace(const QString& line) override { addLineAtEnd(m_form.ftplist(), line); }
    void clearFtpTrace() override { m_form.ftplist()->clear(); }
    QStringList ftpTrace() const override
    {
        QStringList lines;
        for (int i = 0; i < m_form.ftplist()->count(); ++i)
            lines << m_form.ftplist()->item(i)->text();
        return lines;
    }
    void setFtpStatus(const QString& text) override { m_form.ftpstatus()->setText(text); }
    bool debugmode() const override { return m_form.debugmode(); }
    SiteReport& report() override { return m_form.run().submission().report(); }

private:
    TForm1& m_form;
};

} // namespace

RunController::RunController(TForm1& form)
    : QObject(&form)
    , m_form(form)
    , m_http(new THTTP(&form))
    , m_smtpForm(std::make_unique<TSMTPForm>())
    , m_setupDlg(std::make_unique<TSetupDlg>())
    , m_ftpHost(std::make_unique<FormFtpHost>(form))
    , m_ftpForm(new TftpForm1(*m_ftpHost, &form))
{
    m_smtpForm->setMainWindowMirrors(form.mail2(), form.ProgressBar1());
    connect(m_http, &THTTP::OnStartTransfer, this, [this] { guarded([this] { HTTP1StartTransfer(); }); });
    connect(m_http, &THTTP::OnTransfer, this,
        [this](qint64 count, const QByteArray& piece) { guarded([&] { HTTP1Transfer(count, piece); }); });
    connect(m_http, &THTTP::OnEndTransfer, this, [this] { guarded([this] { HTTP1EndTransfer(); }); });
}

RunController::~RunController()
{
    // The FTP driver form and the HTTP client are the window's children, but report to this
    // controller's state: they go with it.
    delete m_ftpForm;
    delete m_http;
}

void RunController::applyNetworkSettings()
{
    const QString caFile = m_form.cafileedit()->text();
    m_http->setCAFile(caFile);
    m_ftpForm->FTP1->setCAFile(caFile);
    m_http->setProxyServer(m_form.proxyedit()->text());
    m_http->setProxyPort(Settings::portNumber(m_form.portedit()->text()));
}

void RunController::submitClick()
{
    if (!m_previewing && !m_submission.isRunning() && m_maySubmit && !m_maySubmit())
        return;
    FormRunWindow window(m_form);
    HttpClientChannel http(*m_http);
    MailFormChannel mail(*m_smtpForm, *m_setupDlg);
    Channels channels{http, *m_ftpForm, mail};
    const int seconds = stallSeconds();
    setNetworkStallLimit(seconds, [this, seconds] { stallTimeout(seconds); });
    const int siteSeconds = siteLimitSeconds();
    setNetworkSiteLimit(siteSeconds, [this, siteSeconds] { siteTimeout(siteSeconds); });
    // A second "Save/Submit" during a run is refused by the run itself and keeps the first's view.
    FormRunWindow* outer = m_window;
    if (!m_submission.isRunning())
        m_window = &window;
    m_runOutcome = m_submission.start(window, channels, m_previewFolder);
    m_window = outer;
    setNetworkStallLimit(0, {});
    setNetworkSiteLimit(0, {});
    emit runEnded();
    if (*m_runOutcome == SubmissionRun::Outcome::Refused || m_previewing)
        return;
    writeRunReport();
    const RunRecord& record = m_submission.lastRecord();
    if (!record.walked)
        return;
    m_lastRun = record;
    m_form.runcounts()->setText(record.countsText());
    // Batch mode never shows the window, and has the report and the exit status instead.
    if (m_form.isVisible())
        showRunResults();
}

PreviewDialog* RunController::previewSubmission()
{
    if (m_submission.isRunning())
        return nullptr;
    QStringList ticked;
    for (const QString& box : siteTickBoxes(m_form))
        if (auto* check = m_form.findChild<QCheckBox*>(box); check && check->isChecked())
            ticked.append(box);
    auto folder = std::make_unique<QTemporaryDir>();
    if (!folder->isValid())
        return nullptr;
    const DataSnapshot snapshot = DataSnapshot::take(QDir(m_form.basedir()).filePath(QStringLiteral("data")));
    m_previewFolder = folder->path();
    m_previewing = true;
    submitClick();
    m_previewing = false;
    m_previewFolder.clear();
    snapshot.restore();
    tickOnly(m_form, ticked);
    auto* dialog = new PreviewDialog(std::move(folder), m_submission.lastRecord(), &m_form);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->show();
    return dialog;
}

RunResultsDialog* RunController::showRunResults()
{
    if (m_lastRun.sites.empty()) {
        if (auto newest = RunHistory::newest(m_form.basedir()))
            return showPastRun(*newest);
    }
    return showResults(m_lastRun, QStringLiteral("Last Run Results"));
}

RunResultsDialog* RunController::showPastRun(const RunHistory::PastRun& run)
{
    return showResults(run.record, QStringLiteral("Run Results: ") + SubmissionHistoryDialog::runTitle(run.record));
}

RunResultsDialog* RunController::showResults(const RunRecord& record, const QString& title)
{
    if (m_resultsDialog)
        m_resultsDialog->close();
    m_resultsDialog = new RunResultsDialog(
        record, [this](const QStringList& boxes) { tickOnly(m_form, boxes); }, &m_form);
    m_resultsDialog->setWindowTitle(title);
    m_resultsDialog->setAttribute(Qt::WA_DeleteOnClose);
    m_resultsDialog->show();
    return m_resultsDialog;
}

SubmissionHistoryDialog* RunController::showSubmissionHistory()
{
    const QString program = m_form.appname()->currentText();
    auto* dialog = new SubmissionHistoryDialog(
        program, RunHistory::runsOf(m_form.basedir(), program),
        [this](const RunHistory::PastRun& run) { showPastRun(run); }, &m_form);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->show();
    return dialog;
}

void RunController::writeRunReport()
{
    const RunRecord& record = m_submission.lastRecord();
    if (!record.walked)
        return;
    // Two runs in the same second each keep their report.
    const QString path = m_reportFile.isEmpty() ? RunReport::takeDefaultPath(m_form.basedir(), record) : m_reportFile;
    if (guarded([&] { RunReport::write(path, record); }))
        m_lastReportPath = path;
}

int RunController::stallSeconds() const
{
    return RunTimeouts::stallSeconds(m_stallOverride, m_form.timeoutedit()->text());
}

void RunController::stallTimeout(int seconds)
{
    timeOut(RunTimeouts::stallReason(seconds));
}

void RunController::timeOut(const QString& reason)
{
    if (!m_submission.isRunning())
        return;
    m_submission.report().skipped(reason);
    // The site as the run last named it.
    const QString site = m_window ? m_window->currentSite() : QString();
    m_form.log()->addItem(site + QStringLiteral(": ") + reason);
    m_ftpForm->abortTransfer();
    m_http->setAction(httpIdle);
}

int RunController::siteLimitSeconds() const
{
    return RunTimeouts::siteLimitSeconds(m_siteLimitOverride, stallSeconds());
}

void RunController::siteTimeout(int seconds)
{
    // A peer that trickles keeps the stall watch content; the site's whole time ends it as the
    // time-out would, a mail under way included.
    const bool mailing = m_smtpForm->sending();
    timeOut(RunTimeouts::siteLimitReason(seconds));
    if (mailing && m_submission.isRunning())
        m_smtpForm->CancelButtonClick();
}

void RunController::skipClick()
{
    if (m_submission.isRunning())
        m_submission.report().skipped(QStringLiteral("Skip pressed"));
    m_ftpForm->abortTransfer();
    m_http->setAction(httpIdle);
    if (m_smtpForm->sending())
        m_smtpForm->CancelButtonClick();
    QCoreApplication::processEvents();
}

void RunController::cancelClick()
{
    m_http->setAction(httpIdle);
    m_ftpForm->abortTransfer();
    if (m_smtpForm->sending())
        m_smtpForm->CancelButtonClick();
    QCoreApplication::processEvents();
    m_cancelflag = true;
}

void RunController::stop()
{
    m_cancelflag = true;
    interruptNetworkWaits();
}

void RunController::HTTP1StartTransfer()
{
    m_form.xfer()->clear();
    m_xferBytes = 0;
    m_replyPace.restart();
}

void RunController::HTTP1Transfer(qint64 count, const QByteArray& piece)
{
    QListWidget* xfer = m_form.xfer();
    xfer->addItem(QString::fromLocal8Bit(piece));
    xfer->item(xfer->count() - 1)->setData(Qt::UserRole, piece.size());
    m_xferBytes += piece.size();
    // The oldest pieces make room; the newest one always stays.
    while (m_xferBytes > ReplyCaptureLimit && xfer->count() > 1) {
        QListWidgetItem* oldest = xfer->takeItem(0);
        m_xferBytes -= oldest->data(Qt::UserRole).toLongLong();
        delete oldest;
    }
    if (m_replyPace.due())
        m_form.httpbytes()->setText(QString::number(count));
}

void RunController::HTTP1EndTransfer()
{
    if (m_form.debugmode()) {
        QListWidget* xfer = m_form.xfer();
        QStringList lines;
        for (int i = 0; i < xfer->count(); ++i)
            lines.append(xfer->item(i)->text());
        writeReplyCapture(m_form.basedir(), QStringLiteral(".htm"), lines);
        m_submission.report().reply(lines.join(QString()));
    }
    m_form.httpbytes()->setText(QString());
}
