// Memory of the main window's reply capture under an endless HTTP reply: the window's client
// reads a body that never ends for SECONDS (default 30), then Skip ends it. Prints the bytes
// received, what the capture list holds, and this process's peak resident memory (target: under
// 60 MB after 30 s).
// Usage: reply_capture_memory [--seconds S]

#include "app/TForm1.h"
#include "net/THTTP.h"
#include "ui/TFlatButton.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

namespace {

// VmHWM (peak) and VmRSS (now) of this process, in MB.
double statusMegabytes(const char* key)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(key))
            return line.mid(qstrlen(key)).trimmed().split(' ').value(0).toDouble() / 1024.0;
    }
    return -1;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    double seconds = 30;
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == QLatin1String("--seconds"))
            seconds = args[i + 1].toDouble();
    }

    QTemporaryDir dir;
    QProcess peer;
    peer.setProgram(QStringLiteral("/usr/bin/python3"));
    peer.setArguments({QStringLiteral(QUILLET_SOURCE_DIR "/tests/peers/http_peer.py"), QStringLiteral("--record"),
        dir.filePath(QStringLiteral("requests")), QStringLiteral("--endless"), QStringLiteral("/forever"),
        QStringLiteral("--lifetime"), QString::number(seconds + 60)});
    peer.setStandardErrorFile(QProcess::nullDevice());
    peer.start();
    QByteArray line;
    while (peer.waitForReadyRead(10000) && !line.contains('\n'))
        line += peer.readAllStandardOutput();
    if (!line.startsWith("PORT ")) {
        std::fprintf(stderr, "reply_capture_memory: the server did not start\n");
        return 2;
    }
    const quint16 port = quint16(line.mid(5).trimmed().toUInt());

    TForm1 form;
    const double before = statusMegabytes("VmRSS:");
    QTimer::singleShot(int(seconds * 1000), [&] { form.skip()->click(); });
    qint64 received = 0;
    QObject::connect(form.HTTP1(), &THTTP::OnTransfer, [&](qint64 count, const QByteArray&) { received = count; });
    QElapsedTimer wall;
    wall.start();
    form.HTTP1()->setWinsockLoaded(true);
    form.HTTP1()->setURL(QStringLiteral("http://127.0.0.1:%1/forever").arg(port));
    QString outcome = QStringLiteral("ended by itself");
    try {
        form.HTTP1()->setAction(httpGet);
    } catch (const std::exception& e) {
        outcome = QString::fromUtf8(e.what());
    }
    qint64 held = 0;
    for (int i = 0; i < form.xfer()->count(); ++i)
        held += form.xfer()->item(i)->text().toLocal8Bit().size();
    std::printf("endless reply for %.1f s (%s): %lld bytes received, capture holds %lld bytes in %d pieces; "
                "resident memory before %.1f MB, peak %.1f MB (target < 60 MB)\n",
        double(wall.elapsed()) / 1000.0, qPrintable(outcome), received, held, form.xfer()->count(), before,
        statusMegabytes("VmHWM:"));
    peer.kill();
    peer.waitForFinished(5000);
    return 0;
}
