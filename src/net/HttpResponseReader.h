#pragma once

#include <QByteArray>
#include <QString>

// Reads an HTTP response from the pieces a port delivers (lines while status and headers come,
// raw data once the body has begun). It does no I/O and stores nothing but the status line.
//
// Phase 0 takes the status line (kept up to 1024 bytes), phase 1 the header lines (an empty line
// begins the body), phase 2 counts body bytes. A line longer than the port's buffer arrives in
// undelimited parts; they are joined (up to MaxLineLength, the excess dropped) and the line is
// read when its delimiter comes, or when the connection closes (finish()).
class HttpResponseReader
{
public:
    enum Phase { StatusPhase = 0, HeaderPhase = 1, BodyPhase = 2 };
    static constexpr int MaxStatusLine = 1024;
    static constexpr int MaxLineLength = 64 * 1024;

    // What the reader finds, in order.
    class Listener
    {
    public:
        virtual ~Listener() = default;
        // A continuation line comes with an empty name.
        virtual void responseHeader(const QByteArray& name, const QByteArray& value) = 0;
        // The empty line after the headers: from now on the port must hand over raw data.
        virtual void responseBodyStarts() = 0;
        virtual void responseBody(qint64 count, const QByteArray& piece) = 0;
    };

    explicit HttpResponseReader(Listener* listener = nullptr);

    void setListener(Listener* listener) { m_listener = listener; }
    void reset();
    void put(const QByteArray& piece, bool delimited);
    // The connection closed: an unterminated line still counts.
    void finish();

    Phase phase() const { return m_phase; }
    bool hasStatusLine() const { return m_hasStatusLine; }
    const QByteArray& statusLine() const { return m_statusLine; }
    qint64 bodyCount() const { return m_bodyCount; }

    // Splits a header line: the name before the first ":", the value after ":" and one space.
    // A line starting with a blank or control character continues the previous header: empty
    // name, the rest of the line as value.
    static void splitHeader(const QByteArray& line, QByteArray* name, QByteArray* value);
    // 0 for a 2xx status line, else 151 with description set to the text after the first space
    // (or the standard description of 151 when there is no space).
    static int checkStatus(const QByteArray& statusLine, QString* description);

private:
    void line(const QByteArray& text);

    Listener* m_listener;
    Phase m_phase = StatusPhase;
    bool m_hasStatusLine = false;
    QByteArray m_statusLine;
    QByteArray m_partial;
    qint64 m_bodyCount = 0;
};
