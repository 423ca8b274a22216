#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

// A stand-in server from tests/peers, run by Debian's /usr/bin/python3 on 127.0.0.1.
// The script prints "PORT <n>" on its first line once it listens; every script also stops by
// itself after a bounded time. The destructor stops it.
class PeerProcess
{
public:
    // script: a file name in tests/peers; args: passed after it.
    PeerProcess(const QString& script, const QStringList& args = {});
    ~PeerProcess();

    bool started() const { return m_port != 0; }
    quint16 port() const { return m_port; }
    // Everything the peer wrote to stderr so far (for failure messages).
    QString errors();
    // Stops the peer and waits for it to exit.
    void stop();

private:
    QProcess m_process;
    quint16 m_port = 0;
};
