#include "BenchSupport.h"

#include "net/TmsMessage.h"
#include "net/TmsSMTP.h"

#include <QFile>
#include <QRandomGenerator>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <sys/resource.h>

BenchPeer::BenchPeer(const QString& script, const QStringList& args, bool discardErrors)
{
    m_process.setProgram(QStringLiteral("/usr/bin/python3"));
    m_process.setArguments(QStringList{QStringLiteral(QUILLET_SOURCE_DIR "/") + script} + args);
    if (discardErrors)
        m_process.setStandardErrorFile(QProcess::nullDevice());
    else
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start();
    QByteArray line;
    while (m_process.waitForReadyRead(10000)) {
        line += m_process.readAllStandardOutput();
        if (line.contains('\n'))
            break;
    }
    if (line.startsWith("PORT "))
        m_port = quint16(line.mid(5).trimmed().toUInt());
}

BenchPeer::~BenchPeer()
{
    m_process.kill();
    m_process.waitForFinished(5000);
}

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
        + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

long peakKB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

double seconds(const QElapsedTimer& timer)
{
    return double(timer.nsecsElapsed()) / 1e9;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? -1 : values[values.size() / 2];
}

void printRatios(const QString& label, const char* oursName, const std::vector<double>& ours, const char* theirsName,
    const std::vector<double>& theirs)
{
    std::vector<double> ratios;
    for (std::size_t i = 0; i < ours.size() && i < theirs.size(); ++i)
        ratios.push_back(ours[i] / theirs[i]);
    if (ratios.empty())
        return;
    std::printf("%s, %zu rounds: ratio %s / %s min %.2f, median %.2f, max %.2f; medians %.3f s and %.3f s\n",
        qPrintable(label), ratios.size(), oursName, theirsName, *std::min_element(ratios.begin(), ratios.end()),
        median(ratios), *std::max_element(ratios.begin(), ratios.end()), median(ours), median(theirs));
}

bool writePatternFile(const QString& path, int megabytes)
{
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    QByteArray block(1 << 20, Qt::Uninitialized);
    for (int i = 0; i < block.size(); ++i)
        block[i] = char(i * 2654435761u >> 24);
    for (int i = 0; i < megabytes; ++i)
        out.write(block);
    return true;
}

bool writeRandomFile(const QString& path, int megabytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QByteArray chunk(1 << 20, Qt::Uninitialized);
    for (int i = 0; i < megabytes; ++i) {
        QRandomGenerator::global()->fillRange(reinterpret_cast<quint32*>(chunk.data()), chunk.size() / 4);
        file.write(chunk);
    }
    return true;
}

bool runQuietly(const QString& program, const QStringList& args, int timeoutMs)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.setStandardOutputFile(QProcess::nullDevice());
    process.start(program, args);
    return process.waitForFinished(timeoutMs) && process.exitStatus() == QProcess::NormalExit
        && process.exitCode() == 0;
}

double secondsToRun(const QString& program, const QStringList& args, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    return runQuietly(program, args, timeoutMs) ? seconds(timer) : -1;
}

double numberOption(int argc, char** argv, const char* name, double fallback)
{
    double value = fallback;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (argv[i][0] == '-' && argv[i][1] == '-' && std::strcmp(argv[i] + 2, name) == 0)
            value = QByteArray(argv[i + 1]).toDouble();
    }
    return value;
}

void sendAttachmentMail(TmsSMTP& smtp, const QString& attachment, const QString& encodedCopy)
{
    TmsMessage message;
    message.Sender = {QStringLiteral("Bench"), QStringLiteral("bench@local.example")};
    message.Recipients.Add(QStringLiteral("sink@local.example"));
    message.setSubject(QStringLiteral("Attachment"));
    message.Body = QStringList{QStringLiteral("See the attachment.")};
    message.attachments().AddFile(attachment);
    smtp.setWinsockLoaded(true);
    smtp.MailMessage = &message;
    smtp.Send();
    smtp.MailMessage = nullptr;
    if (!encodedCopy.isEmpty()) {
        QFile out(encodedCopy);
        if (out.open(QIODevice::WriteOnly))
            message.Encode(out);
    }
}
