#pragma once

#include <QByteArray>
#include <QStringList>

#include <vector>

// A message body as the encoder writes it: each memo entry as its lines (an entry holding line
// ends gives several), whether any line is long or holds bytes outside ASCII, and the lines'
// encoded text. A run sends one listing to dozens of mailboxes with a few lines of each site's
// own around it: a long entry's lines are converted once and kept, and each body takes them as a
// piece of its own, shared rather than copied.
class MailBodyLines
{
public:
    MailBodyLines(const QStringList& entries, bool latin1);

    bool longLines() const { return m_longLines; }
    bool eightBit() const { return m_eightBit; }
    // The body in pieces that hold whole lines, every line ending in CR LF, quoted-printable or as
    // it is; together they are encoded().
    std::vector<QByteArray> pieces(bool quotedPrintable) const;
    QByteArray encoded(bool quotedPrintable) const;

    // Forgets the kept long entries (for tests that need a first encoding).
    static void forgetKept();

private:
    std::vector<QByteArray> m_pieces; // as they are
    bool m_longLines = false;
    bool m_eightBit = false;
};
