// Helpers the benchmarks share: the stand-in servers they start, their clocks, their test files
// and the reference tools they run beside Quillet's own code.
#pragma once

#include <QElapsedTimer>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <vector>

class TmsSMTP;

// A stand-in server script of the source tree run by Debian's python3, which prints "PORT n" once
// it listens. It stops by itself after its lifetime, or when this object goes; port() is 0 when it
// did not start.
class BenchPeer
{
public:
    BenchPeer(const QString& script, const QStringList& args, bool discardErrors = false);
    ~BenchPeer();
    BenchPeer(const BenchPeer&) = delete;
    BenchPeer& operator=(const BenchPeer&) = delete;
    quint16 port() const { return m_port; }

private:
    QProcess m_process;
    quint16 m_port = 0;
};

// User + system time of this process so far.
double cpuSeconds();
// This process's peak resident memory in KB.
long peakKB();
double seconds(const QElapsedTimer& timer);
// The middle value of several rounds, -1 when there are none.
double median(std::vector<double> values);

// Prints "<label>, R rounds: ratio min / median / max, medians" for rounds that each ran both
// sides: the ratio is taken within a round, where both met the same load of a shared machine.
void printRatios(const QString& label, const char* oursName, const std::vector<double>& ours, const char* theirsName,
    const std::vector<double>& theirs);

// megabytes of a fixed, incompressible-looking pattern, or of random bytes.
bool writePatternFile(const QString& path, int megabytes);
bool writeRandomFile(const QString& path, int megabytes);

// Runs program to its end, standard output discarded, errors shown; true when it exited with 0.
bool runQuietly(const QString& program, const QStringList& args, int timeoutMs = 300000);
// The same, timed: its wall-clock seconds, or -1 when it failed.
double secondsToRun(const QString& program, const QStringList& args, int timeoutMs = 300000);

// The value after "--name" among the command line's option pairs, or fallback.
double numberOption(int argc, char** argv, const char* name, double fallback);

// Sends the benchmarks' mail, one attachment, through smtp as the caller set it up (server,
// security); when encodedCopy is given, also writes the encoded message there for curl to send.
void sendAttachmentMail(TmsSMTP& smtp, const QString& attachment, const QString& encodedCopy = QString());
