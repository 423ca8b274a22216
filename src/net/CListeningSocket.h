#pragma once

#include "net/CIPPort.h"

class QSocketNotifier;

// A port that waits for one incoming connection instead of making one (the FTP data
// connection): listen() binds a local address (or any) on a port the system picks, and the first
// connection accepted from the expected peer becomes this port's connection. The listening
// socket is closed then; a connection from any other address is closed and the wait goes on.
class CListeningSocket : public CIPPort
{
    Q_OBJECT

public:
    static constexpr int AcceptFailed = 311;

    explicit CListeningSocket(QObject* parent = nullptr);
    ~CListeningSocket() override;

    // 0 or the sockets error (10093 while the library is not loaded). Addresses in network byte
    // order; 0 stands for any.
    int listen(quint32 localAddress = 0, quint32 acceptFrom = 0);
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
    quint32 m_acceptFrom = 0;
    QSocketNotifier* m_acceptNotifier;
};
