#include "net/HttpResponseReader.h"

#include "net/CWinsock.h"

#include <QList>
#include <utility>

HttpResponseReader::HttpResponseReader(Listener* listener)
    : m_listener(listener)
{
}

void HttpResponseReader::reset()
{
    m_phase = StatusPhase;
    m_state = State::NeedMore;
    m_failure = Failure::None;
    m_hasStatusLine = false;
    m_statusLine.clear();
    m_partial.clear();
    m_headers = 0;
    m_bodyCount = 0;
}

HttpResponseReader::Result HttpResponseReader::put(const QByteArray& piece, bool delimited)
{
    if (m_state != State::NeedMore)
        return {m_state};
    if (m_phase == BodyPhase) {
        if (!piece.isEmpty()) {
            m_bodyCount += piece.size();
            if (m_listener)
                m_listener->responseBody(m_bodyCount, piece);
        }
        return {m_state, piece.size()};
    }
    if (m_partial.size() + piece.size() > MaxLineLength)
        return fail(Failure::LineTooLong);
    if (!delimited) {
        m_partial += piece;
        return {m_state, piece.size()};
    }
    const bool bodyBegins = m_partial.isEmpty() ? line(piece) : line(std::exchange(m_partial, {}) + piece);
    if (m_state == State::Failed)
        return {m_state};
    return {m_state, piece.size(), bodyBegins};
}

HttpResponseReader::Result HttpResponseReader::finish()
{
    if (m_state != State::NeedMore)
        return {m_state};
    if (m_phase != BodyPhase && !m_partial.isEmpty())
        line(std::exchange(m_partial, {}));
    if (m_state == State::NeedMore)
        m_state = State::Done;
    return {m_state};
}

HttpResponseReader::Result HttpResponseReader::fail(Failure failure)
{
    m_state = State::Failed;
    m_failure = failure;
    m_partial.clear();
    return {m_state};
}

QString HttpResponseReader::failureText() const
{
    switch (m_failure) {
    case Failure::None:
        break;
    case Failure::LineTooLong:
        return QStringLiteral("Response header line too long");
    case Failure::TooManyHeaders:
        return QStringLiteral("Too many response headers");
    }
    return {};
}

bool HttpResponseReader::line(const QByteArray& text)
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
            return true;
        }
        if (++m_headers > MaxHeaders) {
            fail(Failure::TooManyHeaders);
            break;
        }
        if (m_listener) {
            QByteArray name;
            QByteArray value;
            splitHeader(text, &name, &value);
            m_listener->responseHeader(name, value);
        }
        break;
    case BodyPhase:
        break;
    }
    return false;
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

int HttpResponseReader::statusCode(const QByteArray& statusLine)
{
    const QList<QByteArray> parts = statusLine.split(' ');
    if (parts.size() < 2 || parts[1].size() != 3)
        return 0;
    bool ok = false;
    const int code = parts[1].toInt(&ok);
    return ok && code >= 100 ? code : 0;
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
