#pragma once

#include <QByteArray>
#include <QStringList>

#include <vector>

// A message body as the encoder writes it: each memo entry as its lines (an entry holding line
// ends gives several), whether any line is long or holds bytes outside ASCII, and the lines'
// encoded text. A run sends one listing to dozens of mailboxes with a few lines of each site's
// own around it: the last body is kept, and the entries the next body shares with it at its
// start and at its end reuse their converted lines instead of converting the long description
// again.
class MailBodyLines
{
public:
    MailBodyLines(const QStringList& entries, bool latin1);

    bool longLines() const { return m_longLines; }
    bool eightBit() const { return m_eightBit; }
    // Every line ending in CR LF, quoted-printable or as it is.
    QByteArray encoded(bool quotedPrintable) const;

    // Forgets the kept body (for tests that need a first encoding).
    static void forgetKept();

    struct Lines
    {
        QStringList entries;
        bool latin1 = false;
        QByteArray plain; // every entry's lines, each ending in CR LF
        std::vector<qsizetype> ends; // where each entry's lines end in plain
        std::vector<uchar> marks; // per entry: LongLine | EightBit
    };

private:
    Lines m_lines;
    bool m_longLines = false;
    bool m_eightBit = false;
};
