#pragma once

#include <QByteArray>

// Judges the reply lines of one FTP command, one line at a time, as they come off the control
// connection. It does no I/O: the client hands it each line (already cut at CR, LF or CR LF and
// limited to the reply buffer) and learns whether the command succeeded, failed, or whether more
// lines belong to the reply.
//
// - A line whose fourth character is "-" opens a multi-line reply; every line up to the one that
//   starts with the same three digits and a space belongs to it, whatever it begins with.
// - A line beginning with a space or a tab continues the reply.
// - "1xx" is a preliminary reply: the final one follows.
// - "2xx" and "3xx" end the command successfully.
// - "426" answering ABOR is followed by the ABOR's own reply.
// - Anything else ends the command with a failure (141 with that line).
class FtpReplyReader
{
public:
    enum class Verdict { More, Success, Failure };

    explicit FtpReplyReader(bool abortCommand = false);

    Verdict put(const QByteArray& line);
    // The line that ended the reply (the failure's description).
    const QByteArray& lastLine() const { return m_lastLine; }
    Verdict verdict() const { return m_verdict; }

private:
    bool m_abortCommand;
    QByteArray m_multiLineCode; // the code of an open multi-line reply
    QByteArray m_lastLine;
    Verdict m_verdict = Verdict::More;
};
