#include "submit/MemoBody.h"

#include <algorithm>

QString MemoBody::asMemoHoldsIt(const QString& text)
{
    return held(text, true, nullptr);
}

QString MemoBody::asMemoRawText(const QString& text)
{
    return held(text, false, nullptr);
}

namespace {

// The end of the run from i of characters a memo keeps as they are in either reading: printable
// characters below the no-break space. A description is mostly such runs.
qsizetype keptRunEnd(const char16_t* in, qsizetype i, qsizetype size)
{
    while (i < size && in[i] >= 0x20 && in[i] < 0xa0)
        ++i;
    return i;
}

} // namespace

QString MemoBody::held(const QString& text, bool plain, bool* breaks)
{
    // What a memo's document makes of plain text: CR LF, a lone CR and the paragraph and frame
    // separators each end a line; read back as plain text, a line separator ends one too and a
    // no-break space reads as a blank. The text is written in place over a copy made at the first
    // change, so a long description costs one pass and no growing.
    QString out = text;
    const char16_t* in = reinterpret_cast<const char16_t*>(text.constData());
    const qsizetype size = text.size();
    qsizetype length = 0;
    char16_t* to = nullptr;
    for (qsizetype i = 0; i < size; ++i) {
        const qsizetype runEnd = keptRunEnd(in, i, size);
        if (to)
            std::copy(in + i, in + runEnd, to + length);
        length += runEnd - i;
        i = runEnd;
        if (i == size)
            break;
        char16_t c = in[i];
        if (c == u'\r') {
            if (i + 1 < size && in[i + 1] == u'\n')
                ++i;
            c = u'\n';
        } else if (c == QChar::ParagraphSeparator || c == 0xfdd0 || c == 0xfdd1 // a frame's start and end
            || (plain && c == QChar::LineSeparator)) {
            c = u'\n';
        } else if (plain && c == QChar::Nbsp) {
            c = u' ';
        } else if (!to) {
            ++length; // unchanged so far: nothing to write
            if (breaks && c == u'\n')
                *breaks = true;
            continue;
        }
        if (!to)
            to = reinterpret_cast<char16_t*>(out.data());
        if (breaks && c == u'\n')
            *breaks = true;
        to[length++] = c;
    }
    out.truncate(length);
    return out;
}

namespace {

// A CR ending an entry pairs with the break before the next one into a single CR LF.
QString entryText(const QStringList& entries, qsizetype i)
{
    const QString& entry = entries[i];
    return i + 1 < entries.size() && entry.endsWith(QLatin1Char('\r')) ? entry.chopped(1) : entry;
}

// A memo holding nothing but one empty entry is an empty memo.
bool emptyMemo(const QStringList& entries)
{
    return entries.isEmpty() || (entries.size() == 1 && entries.front().isEmpty());
}

} // namespace

QStringList MemoBody::memoLines(const QStringList& entries)
{
    if (emptyMemo(entries))
        return {};
    QStringList lines;
    lines.reserve(entries.size());
    for (qsizetype i = 0; i < entries.size(); ++i)
        lines += asMemoHoldsIt(entryText(entries, i)).split(QLatin1Char('\n'));
    return lines;
}

QStringList MemoBody::entries(const QStringList& entries)
{
    if (emptyMemo(entries))
        return {};
    const qsizetype longEntry = 4096;
    const std::size_t heldEntries = 4;
    QStringList body;
    body.reserve(entries.size());
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const QString text = entryText(entries, i);
        if (text.size() < longEntry) {
            // Most entries are one line as they stand: they go in whole, unsplit.
            bool breaks = false;
            const QString asHeld = held(text, true, &breaks);
            if (breaks)
                body += asHeld.split(QLatin1Char('\n'));
            else
                body << asHeld;
            continue;
        }
        auto known = std::find_if(
            m_heldEntries.begin(), m_heldEntries.end(), [&](const HeldEntry& h) { return h.entry == text; });
        if (known == m_heldEntries.end()) {
            if (m_heldEntries.size() == heldEntries)
                m_heldEntries.erase(m_heldEntries.begin());
            m_heldEntries.push_back({text, asMemoHoldsIt(text)});
            known = m_heldEntries.end() - 1;
        }
        // The encoder splits an entry at its line ends, but a last break gives it no empty line
        // after it, where the memo has one.
        body << known->asHeld;
        if (known->asHeld.endsWith(QLatin1Char('\n')))
            body << QString();
    }
    return body;
}
