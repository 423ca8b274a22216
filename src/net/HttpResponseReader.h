#pragma once

#include <QByteArray>
#include <QString>

// Reads an HTTP response from the pieces a port delivers (lines while status and headers come,
// raw data once the body has begun). It does no I/O and stores nothing but the status line: each
// put() says how much it took and whether it needs more, is done or has failed, and the port acts
// on that (raw data from the body on, the connection dropped on failure).
//
// Phase 0 takes the status line (kept up to 1024 bytes), phase 1 the header lines (an empty line
// begins the body), phase 2 counts body bytes. A line longer than the port's buffer arrives in
// undelimited parts; they are joined and the line is read when its delimiter comes, or when the
// connection closes (finish()). A line longer than MaxLineLength, or more than MaxHeaders header
// lines, fail the response.
class HttpResponseReader
{
public:
    enum Phase { StatusPhase = 0, HeaderPhase = 1, BodyPhase = 2 };
    enum class State { NeedMore, Done, Failed };
    enum class Failure { None, LineTooLong, TooManyHeaders };
    static constexpr int MaxStatusLine = 1024;
    static constexpr int MaxLineLength = 64 * 1024;
    static constexpr int MaxHeaders = 256;

    // What one put() or finish() did.
    struct Result
    {
        State state;
        qsizetype consumed = 0; // bytes of the piece taken: all of it, none once failed or done
        bool bodyBegins = false; // the piece was the empty line after the headers
    };

    // What the reader finds, in order.
    class Listener
    {
    public:
        virtual ~Listener() = default;
        // A continuation line comes with an empty name.
        virtual void responseHeader(const QByteArray& name, const QByteArray& value) = 0;
        virtual void responseBody(qint64 count, const QByteArray& piece) = 0;
    };

    explicit HttpResponseReader(Listener* listener = nullptr);

    void setListener(Listener* listener) { m_listener = listener; }
    void reset();
    Result put(const QByteArray& piece, bool delimited);
    // The connection closed: an unterminated line still counts, and the response is done.
    Result finish();

    Phase phase() const { return m_phase; }
    State state() const { return m_state; }
    Failure failure() const { return m_failure; }
    // What went wrong, for the user; empty while nothing has.
    QString failureText() const;
    bool hasStatusLine() const { return m_hasStatusLine; }
    const QByteArray& statusLine() const { return m_statusLine; }
    qint64 bodyCount() const { return m_bodyCount; }

    // Splits a header line: the name before the first ":", the value after ":" and one space.
    // A line starting with a blank or control character continues the previous header: empty
    // name, the rest of the line as value.
    static void splitHeader(const QByteArray& line, QByteArray* name, QByteArray* value);
    // 0 for a 2xx status line, else 151 with description set to the text after the first space
    // (or the standard description of 151 when there is no space).
    // The three-digit status code of a status line ("HTTP/1.0 302 Found": 302); 0 for none.
    static int statusCode(const QByteArray& statusLine);
    static int checkStatus(const QByteArray& statusLine, QString* description);

private:
    // Reads one whole line; true when it ended the headers.
    bool line(const QByteArray& text);
    Result fail(Failure failure);

    Listener* m_listener;
    Phase m_phase = StatusPhase;
    State m_state = State::NeedMore;
    Failure m_failure = Failure::None;
    bool m_hasStatusLine = false;
    QByteArray m_statusLine;
    QByteArray m_partial;
    int m_headers = 0;
    qint64 m_bodyCount = 0;
};
