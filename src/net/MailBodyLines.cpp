#include "net/MailBodyLines.h"

#include "net/TQuotedPrintable.h"

#include <QMutex>
#include <QMutexLocker>

namespace {

enum Mark : uchar { LongLine = 1, EightBit = 2 };

// Appends an entry's lines to plain, each ending in CR LF (an empty entry is one empty line);
// what they hold.
uchar addEntry(const QString& text, bool latin1, QByteArray& plain)
{
    const QByteArray bytes = latin1 ? text.toLatin1() : text.toUtf8();
    const char* d = bytes.constData();
    const qsizetype size = bytes.size();
    uchar mark = 0;
    uchar allBits = 0;
    auto addLine = [&](qsizetype from, qsizetype to) {
        if (to - from >= 256)
            mark |= LongLine;
        plain.append(d + from, to - from);
        plain.append("\r\n", 2);
    };
    qsizetype start = 0;
    for (qsizetype i = 0; i < size; ++i) {
        const char c = d[i];
        allBits |= uchar(c);
        if (c != '\r' && c != '\n')
            continue;
        addLine(start, i);
        if (c == '\r' && i + 1 < size && d[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < size || size == 0)
        addLine(start, size);
    if (allBits & 0x80)
        mark |= EightBit;
    return mark;
}

// Where the last body holds entry, when it is long enough to be worth finding; -1 otherwise.
qsizetype longEntryOf(const MailBodyLines::Lines& last, bool latin1, const QString& entry)
{
    constexpr qsizetype LongEntry = 4096;
    if (entry.size() < LongEntry || last.latin1 != latin1)
        return -1;
    for (qsizetype j = 0; j < last.entries.size(); ++j) {
        if (last.entries[j].size() == entry.size() && last.entries[j] == entry)
            return j;
    }
    return -1;
}

// The last body; only the run's thread encodes, the lock is for tests that do not.
struct Kept
{
    QMutex lock;
    MailBodyLines::Lines lines;
};

Kept& kept()
{
    static Kept k;
    return k;
}

} // namespace

MailBodyLines::MailBodyLines(const QStringList& entries, bool latin1)
{
    Kept& k = kept();
    QMutexLocker lock(&k.lock);
    const MailBodyLines::Lines& last = k.lines;
    const qsizetype count = entries.size();
    // The entries shared with the last body at the start and at the end (shared strings compare
    // without reading their text).
    qsizetype head = 0;
    qsizetype tail = 0;
    if (last.latin1 == latin1) {
        const qsizetype lastCount = last.entries.size();
        while (head < count && head < lastCount && entries[head] == last.entries[head])
            ++head;
        while (tail < count - head && tail < lastCount - head
            && entries[count - 1 - tail] == last.entries[lastCount - 1 - tail])
            ++tail;
    }
    Lines& lines = m_lines;
    lines.entries = entries;
    lines.latin1 = latin1;
    lines.ends.reserve(count);
    lines.marks.reserve(count);
    const qsizetype headEnd = head > 0 ? last.ends[head - 1] : 0;
    lines.plain = last.plain.left(headEnd);
    lines.ends.assign(last.ends.begin(), last.ends.begin() + head);
    lines.marks.assign(last.marks.begin(), last.marks.begin() + head);
    for (qsizetype i = head; i < count - tail; ++i) {
        // The held description between each site's own lines is one long entry of the last body.
        const qsizetype same = longEntryOf(last, latin1, entries[i]);
        if (same >= 0) {
            const qsizetype from = same > 0 ? last.ends[same - 1] : 0;
            lines.plain += QByteArrayView(last.plain).sliced(from, last.ends[same] - from);
            lines.marks.push_back(last.marks[same]);
        } else {
            lines.marks.push_back(addEntry(entries[i], latin1, lines.plain));
        }
        lines.ends.push_back(lines.plain.size());
    }
    if (tail > 0) {
        const qsizetype lastCount = last.entries.size();
        const qsizetype from = lastCount - tail;
        const qsizetype fromByte = from > 0 ? last.ends[from - 1] : 0;
        const qsizetype shift = lines.plain.size() - fromByte;
        lines.plain += QByteArrayView(last.plain).sliced(fromByte);
        for (qsizetype i = from; i < lastCount; ++i) {
            lines.ends.push_back(last.ends[i] + shift);
            lines.marks.push_back(last.marks[i]);
        }
    }
    uchar marks = 0;
    for (const uchar mark : lines.marks)
        marks |= mark;
    m_longLines = (marks & LongLine) != 0;
    m_eightBit = (marks & EightBit) != 0;
    k.lines = lines;
}

QByteArray MailBodyLines::encoded(bool quotedPrintable) const
{
    if (!quotedPrintable)
        return m_lines.plain;
    QByteArray out;
    const QByteArray& plain = m_lines.plain;
    for (qsizetype start = 0; start < plain.size();) {
        const qsizetype end = plain.indexOf("\r\n", start);
        for (const QByteArray& piece : TQuotedPrintable::encodeParagraph(plain.mid(start, end - start))) {
            out += piece;
            out += "\r\n";
        }
        start = end + 2;
    }
    return out;
}

void MailBodyLines::forgetKept()
{
    Kept& k = kept();
    QMutexLocker lock(&k.lock);
    k.lines = Lines();
}
