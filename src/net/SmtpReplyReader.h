#pragma once

#include <QByteArray>

// Reads SMTP replies from the bytes a server sends, however they are cut. It does no I/O.
//
// Lines end at LF; trailing CR and LF are removed. A line keeps at most MaxLineLength bytes (the
// 255 a 256-byte line buffer holds besides its terminator): the rest of an over-long line up to
// its LF is read and dropped, so an endless line costs no memory and the next line still starts
// in the right place.
//
// A reply is one line, or, when the first line's code is positive and its fourth character is
// "-", every line up to one with the same code followed by a space (or by nothing). Its code is
// the first line's; its text is the last line read.
class SmtpReplyReader
{
public:
    static constexpr int MaxLineLength = 255;

    // Takes bytes up to and including the end of the current line; returns how many it took.
    // When it took fewer than size, a line is complete (lineReady()).
    qsizetype putLine(const char* data, qsizetype size);
    bool lineReady() const { return m_lineReady; }
    // The peer closed: an unterminated line counts as complete.
    void finishLine();
    // The completed line, which also moves the reply on; clears lineReady().
    QByteArray takeLine();

    // The reply the lines taken so far belong to.
    bool replyDone() const { return m_replyDone; }
    int replyCode() const { return m_replyCode; }
    const QByteArray& replyText() const { return m_replyText; }
    // Starts reading the next reply (lines already buffered stay).
    void startReply();

    // The code of a reply line: the value of its first three characters, or -1 when they are not
    // three digits.
    static int lineCode(const QByteArray& line);

private:
    QByteArray m_line;
    bool m_lineReady = false;
    bool m_replyStarted = false;
    bool m_replyDone = false;
    int m_replyCode = -1;
    QByteArray m_replyText;
};
