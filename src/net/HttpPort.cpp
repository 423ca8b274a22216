#include "net/HttpPort.h"

HttpPort::HttpPort(Listener* listener, QObject* parent)
    : CIPPortMsgPlusFile(parent)
    , m_listener(listener)
    , m_reader(listener)
{
    // The response is read to its end, not one line per wait.
    setStopAfterOneLine(false);
}

void HttpPort::startResponse()
{
    m_reader.reset();
    m_tunnelAnswer = false;
    setStopAfterOneLine(false);
    setEol("\r\n", DelimiterMode::AnyChar);
}

void HttpPort::setTunnelAnswer(bool on)
{
    m_tunnelAnswer = on;
    setStopAfterOneLine(on);
    setAcceptData(true);
}

void HttpPort::onConnected(int error)
{
    CIPPortMsgPlusFile::onConnected(error);
    m_listener->portConnected(error);
}

void HttpPort::onDisconnected(int error)
{
    CIPPortMsgPlusFile::onDisconnected(error);
    m_reader.finish();
    m_listener->portDisconnected(error);
}

void HttpPort::onDataIn(const QByteArray& data, bool delimited)
{
    CIPPortMsgPlusFile::onDataIn(data, delimited);
    if (m_tunnelAnswer)
        return;
    const HttpResponseReader::Result read = m_reader.put(data, delimited);
    if (read.bodyBegins) {
        // Whatever follows, in this receive or later ones, is body: no more line cutting.
        setEol(QByteArray(), DelimiterMode::AnyChar);
        m_listener->responseBodyStarts();
    }
    // A response the reader refuses is not read any further, nor a body past its limit.
    if (read.state == HttpResponseReader::State::Failed || m_reader.bodyCount() > MaxBodyBytes)
        disconnectSocket(0);
}

void HttpPort::onError(int code, const QString& text)
{
    m_listener->portError(code, text);
}
