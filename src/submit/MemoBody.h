#pragma once

#include <QString>
#include <QStringList>

#include <vector>

// A mail's body as the mail form's memo holds it: its entries one after another, each line break
// style and separator a memo knows ending a line, a no-break space read back as a blank.
class MemoBody
{
public:
    // Text as the body memo would give it back (without laying it out in a form never shown).
    static QString asMemoHoldsIt(const QString& text);
    // The same as the memo's document holds it: a line separator and a no-break space stay.
    static QString asMemoRawText(const QString& text);
    // The lines a memo filled with these entries (one after another) gives back.
    static QStringList memoLines(const QStringList& entries);

    // The body as the message takes it: memoLines, except that the lines of a long entry stay one
    // entry, joined by LF, which the encoder splits again. A run sends the same description in each
    // mail: held, it is the same string each time, which the encoder matches with the last body's
    // as one entry instead of line by line.
    QStringList entries(const QStringList& entries);

private:
    // breaks, when given, is set when the text as held has a line break.
    static QString held(const QString& text, bool plain, bool* breaks);

    struct HeldEntry
    {
        QString entry;
        QString asHeld;
    };
    // The long entries of the last mails as the memo holds them.
    std::vector<HeldEntry> m_heldEntries;
};
