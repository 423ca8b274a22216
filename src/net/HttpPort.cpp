#include "net/HttpPort.h"

HttpPort::HttpPort(Listener* listener, QObject* parent)
    : CIPPortMsgPlusFile(parent)
    , m_listener(listener)
    , m_readerEvents(this)
    , m_reader(&m_readerEvents)
{
    // The response is read to its end, not one line per wait.
    setStopAfterOneLine(false);
}

void HttpPort::startResponse()
{
    m_reader.reset();
    setEol("\r\n", DelimiterMode::AnyChar);
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
    m_reader.put(data, delimited);
}

void HttpPort::onError(int code, const QString& text)
{
    m_listener->portError(code, text);
}

void HttpPort::ReaderEvents::responseHeader(const QByteArray& name, const QByteArray& value)
{
    m_port->m_listener->responseHeader(name, value);
}

void HttpPort::ReaderEvents::responseBodyStarts()
{
    // Whatever follows, in this receive or later ones, is body: no more line cutting.
    m_port->setEol(QByteArray(), DelimiterMode::AnyChar);
    m_port->m_listener->responseBodyStarts();
}

void HttpPort::ReaderEvents::responseBody(qint64 count, const QByteArray& piece)
{
    m_port->m_listener->responseBody(count, piece);
}
