#include "support/PeerProcess.h"

#include <QDeadlineTimer>

PeerProcess::PeerProcess(const QString& script, const QStringList& args)
{
    m_process.setProgram(QStringLiteral("/usr/bin/python3"));
    m_process.setArguments(QStringList{QStringLiteral(QUILLET_PEERS_DIR "/") + script} + args);
    m_process.start();
    if (!m_process.waitForStarted(10000))
        return;
    QDeadlineTimer deadline(15000);
    QByteArray first;
    while (!deadline.hasExpired() && !first.contains('\n')) {
        if (!m_process.waitForReadyRead(int(deadline.remainingTime())))
            break;
        first += m_process.readAllStandardOutput();
    }
    const QByteArray line = first.left(first.indexOf('\n')).trimmed();
    if (line.startsWith("PORT "))
        m_port = quint16(line.mid(5).toUInt());
}

PeerProcess::~PeerProcess()
{
    stop();
}

QString PeerProcess::errors()
{
    return QString::fromLocal8Bit(m_process.readAllStandardError());
}

void PeerProcess::stop()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate();
    if (!m_process.waitForFinished(5000)) {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
}
