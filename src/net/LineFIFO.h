#pragma once

#include <QByteArray>

#include <memory>

// The receive buffer of a port: a fixed number of bytes received and not yet delivered, and the
// rules that cut them into lines. It does no I/O: the port receives into freeSpace(), commits
// what arrived and takes pieces until none is left.
//
// Delimiter modes:
// - Exact: a line ends only at the whole delimiter sequence, which is consumed.
// - AnyChar: a line ends at the first byte that occurs in the delimiter; from that byte's place
//   in the delimiter, the following bytes that go on matching it are consumed too. With CR LF:
//   CR LF ends one line, a lone CR or LF ends one line, and each further CR or LF ends an
//   empty line.
// A delimiter cut between two receives is continued across the cut: "text CR" | "LF ..." ends one
//   line, while "text CR LF" | "CR LF" still ends two (the second one empty). The empty line
//   ending a block of header lines is therefore never lost, however the bytes are cut.
// With an empty delimiter every piece is raw data, handed over as it is.
class LineFIFO
{
public:
    enum class Mode { Exact, AnyChar };
    static constexpr int DefaultCapacity = 2048;

    struct Piece
    {
        QByteArray data;
        bool delimited = false; // a delimiter ended this piece (it is not part of data)
    };

    explicit LineFIFO(int capacity = DefaultCapacity);

    // Empties the buffer and forgets a delimiter cut at the end of the last receive.
    void reset();
    void setDelimiter(const QByteArray& delimiter, Mode mode);
    const QByteArray& delimiter() const { return m_delimiter; }
    Mode mode() const { return m_mode; }

    int capacity() const { return m_capacity; }
    int size() const { return m_end - m_begin; }
    bool isEmpty() const { return m_end == m_begin; }
    bool isFull() const { return size() == m_capacity; }

    // Room for the next receive; commit() then accounts for the count bytes written there.
    char* freeSpace();
    int freeSize() const { return m_capacity - size(); }
    void commit(int count);
    // Copies as much of data as fits (then commits it); returns how many bytes were taken.
    int append(const char* data, int count);

    // The next complete line, or with an empty delimiter everything buffered.
    bool takeLine(Piece* piece);
    // A full buffer that holds no complete line, as one piece without the delimiter flag. In the
    // exact mode a tail that may begin the delimiter stays for the next receive.
    bool takeFull(Piece* piece);
    // Everything left, as one piece without the delimiter flag (the connection is closing).
    bool takeRest(Piece* piece);

private:
    const char* data() const { return m_storage.get() + m_begin; }
    bool takeExact(Piece* piece);
    bool takeAnyChar(Piece* piece);
    void cutPiece(Piece* piece, int length, int consumed, bool delimited);

    int m_capacity;
    std::unique_ptr<char[]> m_storage;
    int m_begin = 0;
    int m_end = 0;
    QByteArray m_delimiter;
    Mode m_mode = Mode::Exact;
    // The rest of a delimiter whose first bytes ended the buffered data: the same bytes at the
    // start of the next receive belong to it and end no line.
    QByteArray m_pendingDelimiter;
};
