#include "submit/RunControls.h"

#include "submit/RunWindow.h"

void RunControl::showIdle(RunWindow& window)
{
    const QString idle = QStringLiteral("Idle");
    window.setText(httpstatus, idle);
    window.setText(ftpstatus, idle);
    window.setText(mailstatus, idle);
}

void RunControl::setLamps(RunWindow& window, Lamps lamps)
{
    window.setLamp(httpled, lamps.http);
    window.setLamp(ftpled, lamps.ftp);
    window.setLamp(mailled, lamps.mail);
}

void RunControl::openSite(RunWindow& window, const QString& label, Lamps lamps)
{
    window.setText(currentsite, label);
    setLamps(window, lamps);
}
