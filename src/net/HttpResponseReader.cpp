#include "net/HttpResponseReader.h"

#include "net/CWinsock.h"

HttpResponseReader::HttpResponseReader(Listener* listener)
    : m_listener(listener)
{
}

void HttpResponseReader::reset()
{
    m_phase = StatusPhase;
    m_hasStatusLine = false;
    m_statusLine.clear();
    m_partial.clear();
    m_bodyCount = 0;
}

void HttpResponseReader::put(const QByteArray& piece, bool delimited)
{
    if (m_phase == BodyPhase) {
        if (piece.isEmpty())
            return;
        m_bodyCount += piece.size();
        if (m_listener)
            m_listener->responseBody(m_bodyCount, piece);
        return;
    }
    if (!delimited) {
        m_partial += piece.left(MaxLineLength - m_partial.size());
        return;
    }
    if (m_partial.isEmpty()) {
        line(piece);
    } else {
        m_partial += piece.left(MaxLineLength - m_partial.size());
        line(std::exchange(m_partial, QByteArray()));
    }
}

void HttpResponseReader::finish()
{
    if (m_phase != BodyPhase && !m_partial.isEmpty())
        line(std::exchange(m_partial, QByteArray()));
}

void HttpResponseReader::line(const QByteArray& text)
{
    switch (m_phase) {
    case StatusPhase:
        m_statusLine = text.left(MaxStatusLine);
        m_hasStatusLine = true;
        m_phase = HeaderPhase;
        break;
    case HeaderPhase:
        if (text.isEmpty()) {
            m_phase = BodyPhase;
            if (m_listener)
                m_listener->responseBodyStarts();
        } else if (m_listener) {
            QByteArray name;
            QByteArray value;
            splitHeader(text, &name, &value);
            m_listener->responseHeader(name, value);
        }
        break;
    case BodyPhase:
        break;
    }
}

void HttpResponseReader::splitHeader(const QByteArray& line, QByteArray* name, QByteArray* value)
{
    name->clear();
    value->clear();
    if (line.isEmpty())
        return;
    const uchar first = uchar(line.at(0));
    if (first == ' ' || first == '\t' || first < 0x20 || first == 0x7f) {
        *value = line.mid(1);
        return;
    }
    const qsizetype colon = line.indexOf(':');
    if (colon < 0) {
        *name = line;
        return;
    }
    *name = line.left(colon);
    qsizetype start = colon + 1;
    if (start < line.size() && line.at(start) == ' ')
        ++start;
    *value = line.mid(start);
}

int HttpResponseReader::checkStatus(const QByteArray& statusLine, QString* description)
{
    const qsizetype space = statusLine.indexOf(' ');
    if (space < 0) {
        *description = CWinsock::describe(151);
        return 151;
    }
    const QByteArray status = statusLine.mid(space + 1);
    if (status.startsWith('2')) {
        description->clear();
        return 0;
    }
    *description = QString::fromUtf8(status);
    return 151;
}
