// The submission run and its controls.
#include "app/FormRunWindow.h"
#include "app/MailFormChannel.h"
#include "app/ReplyCapture.h"
#include "app/TSMTPForm.h"
#include "app/TForm1.h"
#include "app/TftpForm1.h"
#include "net/THTTP.h"
#include "submit/Channels.h"
#include "submit/HttpClientChannel.h"
#include "submit/MailChannel.h"
#include "submit/SubmissionRun.h"

#include <QCoreApplication>
#include <QLabel>
#include <QListWidget>

void TForm1::submitClick()
{
    FormRunWindow window(*this);
    HttpClientChannel http(*HTTP1);
    MailFormChannel mail(*SMTPForm, *SetupDlg);
    Channels channels{http, *ftpForm1, mail};
    runOutcome = SubmissionRun::start(window, channels);
}

// Skip and Cancel run inside the run's waits: ending the HTTP wait makes the request under way
// end with 301 "Interrupted", and aborting the FTP transfer ends the upload with an error; the
// run logs either for that site. A mail under way is cancelled as the mail form's Cancel does:
// it ends with "Operation has been canceled", which ends the run.
void TForm1::skipClick()
{
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
    httpbytes->setText(QString::number(count));
}

void TForm1::HTTP1EndTransfer()
{
    if (debugmode) {
        QStringList lines;
        for (int i = 0; i < xfer->count(); ++i)
            lines.append(xfer->item(i)->text());
        writeReplyCapture(basedir, QStringLiteral(".htm"), lines);
    }
    httpbytes->setText(QString());
}
