// The submission run and its controls.
#include "app/FormRunWindow.h"
#include "app/TForm1.h"
#include "core/LineFile.h"
#include "net/THTTP.h"
#include "submit/Channels.h"
#include "submit/FtpChannel.h"
#include "submit/HttpClientChannel.h"
#include "submit/MailChannel.h"
#include "submit/SubmissionRun.h"

#include <QCoreApplication>
#include <QLabel>
#include <QListWidget>
#include <QTime>

void TForm1::submitClick()
{
    FormRunWindow window(*this);
    HttpClientChannel http(*HTTP1);
    FtpChannel ftp; // the FTP driver form takes this place once it exists
    MailChannel mail; // and the mail form this one
    Channels channels{http, ftp, mail};
    SubmissionRun::start(window, channels);
}

// Skip and Cancel run inside the run's waits: ending the HTTP wait makes the request under way
// end with 301 "Interrupted", which the run logs for that site. (The FTP driver form's abort
// belongs here as well once that form exists.)
void TForm1::skipClick()
{
    HTTP1->setAction(httpIdle);
    QCoreApplication::processEvents();
}

void TForm1::cancelClick()
{
    HTTP1->setAction(httpIdle);
    QCoreApplication::processEvents();
    cancelflag = true;
}

void TForm1::HTTP1StartTransfer()
{
    xfer->clear();
}

void TForm1::HTTP1Transfer(qint64 count, const QByteArray& piece)
{
    xfer->addItem(QString::fromLocal8Bit(piece));
    httpbytes->setText(QString::number(count));
}

void TForm1::HTTP1EndTransfer()
{
    if (debugmode) {
        // Named after the minutes, seconds and milliseconds of now, each without leading zeros.
        const QTime now = QTime::currentTime();
        const QString name
            = QString::number(now.minute()) + QString::number(now.second()) + QString::number(now.msec());
        QStringList lines;
        for (int i = 0; i < xfer->count(); ++i)
            lines.append(xfer->item(i)->text());
        writeLineFile(basedir + QStringLiteral("/responses/") + name + QStringLiteral(".htm"), lines);
    }
    httpbytes->setText(QString());
}
