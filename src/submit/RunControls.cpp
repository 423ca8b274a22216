#include "submit/RunControls.h"

#include "submit/RunWindow.h"

void RunControl::showIdle(RunWindow& window)
{
    const QString idle = QStringLiteral("Idle");
    window.setText(httpstatus, idle);
    window.setText(ftpstatus, idle);
    window.setText(mailstatus, idle);
}
