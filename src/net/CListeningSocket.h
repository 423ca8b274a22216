#pragma once

#include "net/CIPPort.h"

class QSocketNotifier;

// A port that waits for one incoming connection instead of making one (the FTP data
// connection): listen() binds any local address on a port the system picks, and the first
// connection accepted becomes this port's connection. The listening socket is closed then.
class CListeningSocket : public CIPPort
{
    Q_OBJECT

public:
    static constexpr int AcceptFailed = 311;

    explicit CListeningSocket(QObject* parent = nullptr);
    ~CListeningSocket() override;

    // 0 or the sockets error (10093 while the library is not loaded).
    int listen();
    bool isListening() const { return m_listenFd >= 0; }
    // The port the system picked, 0 when not listening.
    quint16 listeningPort() const;
    void stopListening();

protected:
    // The accepted connection is now this port's: data arrives through onDataIn().
    virtual void onAccepted();

private:
    void acceptReady();

    int m_listenFd = -1;
    QSocketNotifier* m_acceptNotifier;
};
