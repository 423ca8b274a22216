// The submission run and its controls.
#include "app/DataSnapshot.h"
#include "app/FormRunWindow.h"
#include "app/MailFormChannel.h"
#include "app/PreviewDialog.h"
#include "app/ReplyCapture.h"
#include "app/RunResultsDialog.h"
#include "app/SiteTicks.h"
#include "app/TForm1.h"
#include "app/TSMTPForm.h"
#include "app/TftpForm1.h"
#include "core/Dialogs.h"
#include "net/DryRun.h"
#include "net/NetworkWait.h"
#include "net/THTTP.h"
#include "submit/Channels.h"
#include "submit/HttpClientChannel.h"
#include "submit/MailChannel.h"
#include "submit/RunReport.h"
#include "submit/SiteCatalogue.h"
#include "submit/SubmissionRun.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

void TForm1::submitClick()
{
    if (!m_previewing && !submission.isRunning() && maySubmit && !maySubmit())
        return;
    FormRunWindow window(*this);
    HttpClientChannel http(*HTTP1);
    MailFormChannel mail(*SMTPForm, *SetupDlg);
    Channels channels{http, *ftpForm1, mail};
    const int seconds = stallSeconds();
    setNetworkStallLimit(seconds, [this, seconds] { stallTimeout(seconds); });
    const int siteSeconds = siteLimitSeconds();
    setNetworkSiteLimit(siteSeconds, [this, siteSeconds] { siteTimeout(siteSeconds); });
    runOutcome = submission.start(window, channels);
    setNetworkStallLimit(0, {});
    setNetworkSiteLimit(0, {});
    if (m_captionPending)
        updateCaption();
    if (*runOutcome == SubmissionRun::Outcome::Refused || m_previewing)
        return;
    writeRunReport();
    const RunRecord& record = submission.lastRecord();
    if (!record.walked)
        return;
    m_lastRun = record;
    runcounts->setText(record.countsText());
    // Batch mode never shows the window, and has the report and the exit status instead.
    if (isVisible())
        showRunResults();
}

PreviewDialog* TForm1::previewSubmission()
{
    if (submission.isRunning())
        return nullptr;
    QStringList ticked;
    for (const SiteEntry& entry : SiteCatalogue::entries())
        for (const QString& box : {entry.newBox, entry.updateBox})
            if (auto* check = box.isEmpty() ? nullptr : findChild<QCheckBox*>(box); check && check->isChecked())
                ticked.append(box);
    auto folder = std::make_unique<QTemporaryDir>();
    if (!folder->isValid())
        return nullptr;
    const DataSnapshot snapshot = DataSnapshot::take(QDir(basedir).filePath(QStringLiteral("data")));
    DryRun::setFolder(folder->path());
    m_previewing = true;
    submitClick();
    m_previewing = false;
    DryRun::setFolder(QString());
    snapshot.restore();
    tickOnly(*this, ticked);
    auto* dialog = new PreviewDialog(std::move(folder), submission.lastRecord(), this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->show();
    return dialog;
}

RunResultsDialog* TForm1::showRunResults()
{
    if (m_resultsDialog)
        m_resultsDialog->close();
    m_resultsDialog = new RunResultsDialog(
        m_lastRun, [this](const QStringList& boxes) { tickOnly(*this, boxes); }, this);
    m_resultsDialog->setAttribute(Qt::WA_DeleteOnClose);
    m_resultsDialog->show();
    return m_resultsDialog;
}

void TForm1::writeRunReport()
{
    const RunRecord& record = submission.lastRecord();
    if (!record.walked)
        return;
    // Two runs in the same second each keep their report.
    const QString path = reportFile.isEmpty() ? RunReport::takeDefaultPath(basedir, record) : reportFile;
    if (guarded([&] { RunReport::write(path, record); }))
        lastReportPath = path;
}

// Skip and Cancel run inside the run's waits: ending the HTTP wait makes the request under way
// end with 301 "Interrupted", and aborting the FTP transfer ends the upload with an error; the
// run logs either for that site. A mail under way is cancelled as the mail form's Cancel does: it
// ends with "Operation has been canceled", which fails that site (Skip) or ends the run (Cancel).
int TForm1::stallSeconds() const
{
    if (m_stallOverride >= 0)
        return m_stallOverride;
    bool ok = false;
    const int seconds = timeoutedit->text().trimmed().toInt(&ok);
    return ok && seconds >= 0 ? seconds : DefaultStallSeconds;
}

void TForm1::stallTimeout(int seconds)
{
    timeOut(QStringLiteral("Timed out: no progress for %1 seconds").arg(seconds));
}

void TForm1::timeOut(const QString& reason)
{
    if (!submission.isRunning())
        return;
    submission.report().skipped(reason);
    log->addItem(currentsite->text() + QStringLiteral(": ") + reason);
    ftpForm1->abortTransfer();
    HTTP1->setAction(httpIdle);
}

int TForm1::siteLimitSeconds() const
{
    return m_siteLimitOverride >= 0 ? m_siteLimitOverride : 10 * stallSeconds();
}

void TForm1::siteTimeout(int seconds)
{
    // A peer that trickles keeps the stall watch content; the site's whole time ends it as the
    // time-out would, a mail under way included.
    const bool mailing = SMTPForm->sending();
    timeOut(QStringLiteral("Timed out: the site took more than %1 seconds").arg(seconds));
    if (mailing && submission.isRunning())
        SMTPForm->CancelButtonClick();
}

void TForm1::skipClick()
{
    if (submission.isRunning())
        submission.report().skipped(QStringLiteral("Skip pressed"));
    ftpForm1->abortTransfer();
    HTTP1->setAction(httpIdle);
    if (SMTPForm->sending())
        SMTPForm->CancelButtonClick();
    QCoreApplication::processEvents();
}

void TForm1::cancelClick()
{
    HTTP1->setAction(httpIdle);
    ftpForm1->abortTransfer();
    if (SMTPForm->sending())
        SMTPForm->CancelButtonClick();
    QCoreApplication::processEvents();
    cancelflag = true;
}

void TForm1::HTTP1StartTransfer()
{
    xfer->clear();
    m_xferBytes = 0;
    m_replyPace.restart();
}

void TForm1::HTTP1Transfer(qint64 count, const QByteArray& piece)
{
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
        httpbytes->setText(QString::number(count));
}

void TForm1::HTTP1EndTransfer()
{
    if (debugmode) {
        QStringList lines;
        for (int i = 0; i < xfer->count(); ++i)
            lines.append(xfer->item(i)->text());
        writeReplyCapture(basedir, QStringLiteral(".htm"), lines);
        submission.report().reply(lines.join(QString()));
    }
    httpbytes->setText(QString());
}
