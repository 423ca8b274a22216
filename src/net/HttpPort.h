#pragma once

#include "net/CIPPortMsgPlusFile.h"
#include "net/HttpResponseReader.h"

// The HTTP client's connection: a message-mode port that feeds what it receives to an
// HttpResponseReader, switches to raw data when the reader finds the body beginning, and drops
// the connection when the reader fails.
class HttpPort : public CIPPortMsgPlusFile
{
    Q_OBJECT

public:
    // Connection events and what the reader finds.
    class Listener : public HttpResponseReader::Listener
    {
    public:
        // The empty line after the headers: what follows is the body.
        virtual void responseBodyStarts() = 0;
        virtual void portConnected(int error) = 0;
        // The reader has seen everything by now; the body phase has ended.
        virtual void portDisconnected(int error) = 0;
        virtual void portError(int code, const QString& text) = 0;
    };

    // The body is read this far and no further: the status line has judged the request by then,
    // and an endless body would keep the connection busy for ever.
    static constexpr qint64 MaxBodyBytes = 16 * 1024 * 1024;

    explicit HttpPort(Listener* listener, QObject* parent = nullptr);

    const HttpResponseReader& reader() const { return m_reader; }
    // Prepares for a new response: reader reset, lines cut at CR LF, CR or LF.
    void startResponse();
    // On: received lines are only kept as reply lines (waitForReply(), one per wait), not read as
    // the response; used for a proxy's answer to CONNECT before the tunnel carries the request.
    void setTunnelAnswer(bool on);

protected:
    void onConnected(int error) override;
    void onDisconnected(int error) override;
    void onDataIn(const QByteArray& data, bool delimited) override;
    void onError(int code, const QString& text) override;

private:
    Listener* m_listener;
    HttpResponseReader m_reader;
    bool m_tunnelAnswer = false;
};
