#include "FakeRunWindow.h"

#include <QCoreApplication>
#include <QFile>

void FakeRunWindow::setText(const QString& control, const QString& text)
{
    texts[control] = text;
    events.append(control + QLatin1Char('=') + text);
    if (onText)
        onText(control, text);
}

void FakeRunWindow::clearList(const QString& list)
{
    events.append(QStringLiteral("clear ") + list);
    if (list == QLatin1String("log"))
        log.clear();
}

void FakeRunWindow::appendLog(const QString& line)
{
    log.append(line);
    events.append(QStringLiteral("log ") + line);
}

void FakeRunWindow::setBusy(bool b)
{
    if (b != busy)
        ++busyChanges;
    busy = b;
}

void FakeRunWindow::processMessages()
{
    QCoreApplication::processEvents();
    if (onPump)
        onPump();
}

void FakeRunWindow::getsettings()
{
    events.append(QStringLiteral("getsettings"));
    if (getsettingsFails)
        getsettingsFails();
}

void FakeRunWindow::fillValidRecord()
{
    const QString archive = base + QStringLiteral("/files/demo.zip");
    QFile f(archive);
    if (f.open(QIODevice::WriteOnly))
        f.write("PK");
    texts[QStringLiteral("appname")] = QStringLiteral("Demo App");
    texts[QStringLiteral("char8name")] = QStringLiteral("demoapp");
    texts[QStringLiteral("bytesize")] = QStringLiteral("1500000");
    texts[QStringLiteral("localpath")] = archive;
}
