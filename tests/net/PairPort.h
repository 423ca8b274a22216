#pragma once

#include "net/CIPPortMsg.h"
#include "net/HttpPort.h"
#include "support/SocketPairPort.h"

#include <QByteArray>

#include <functional>
#include <vector>

// Records what the port delivers.
class RecordingPort : public SocketPairPort<CIPPortMsg>
{
public:
    struct Piece
    {
        QByteArray data;
        bool delimited;
        bool operator==(const Piece&) const = default;
    };

    RecordingPort() { setStopAfterOneLine(false); }

    std::vector<Piece> pieces;
    std::vector<int> disconnects;
    std::function<void(const QByteArray&, bool)> onData;

protected:
    void onDataIn(const QByteArray& data, bool delimited) override
    {
        CIPPortMsg::onDataIn(data, delimited);
        pieces.push_back({data, delimited});
        if (onData)
            onData(data, delimited);
    }
    void onDisconnected(int error) override
    {
        CIPPortMsg::onDisconnected(error);
        disconnects.push_back(error);
    }
};
