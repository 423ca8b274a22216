#pragma once

#include "net/CIPPortMsg.h"

#include <functional>

// The FTP control connection: a message-mode port reading one reply line per wait, its lines cut
// at CR LF, CR or LF. The client learns of its connection events through the callbacks and may
// end a wait for a reply from its per-turn check (an upload that failed on the data connection).
class FtpControlPort : public CIPPortMsg
{
    Q_OBJECT

public:
    explicit FtpControlPort(QObject* parent = nullptr);

    std::function<void(int error)> connected;
    std::function<void(int error)> disconnected;
    std::function<void(int code, const QString& text)> failed;
    // Runs after every turn of a wait for a reply: 0 or an error that ends the wait.
    std::function<int()> turn;

protected:
    void onConnected(int error) override;
    void onDisconnected(int error) override;
    void onError(int code, const QString& text) override;
    int waitTurn() override;
};
