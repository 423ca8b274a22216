#include "net/MailBodyLines.h"

#include "net/TQuotedPrintable.h"

#include <QMutex>
#include <QMutexLocker>

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace {

enum Mark : uchar { LongLine = 1, EightBit = 2 };

// An entry this long goes into a piece of its own, kept for the next bodies.
constexpr qsizetype LongEntry = 4096;
constexpr std::size_t KeptEntries = 4;

// Whether any of the word's eight bytes is b.
bool hasByte(std::uint64_t word, char b)
{
    const std::uint64_t x = word ^ (0x0101010101010101u * uchar(b));
    return ((x - 0x0101010101010101u) & ~x & 0x8080808080808080u) != 0;
}

// Appends a short line of ASCII characters, as most entries are, straight from the text; false
// for any other entry.
bool addShortLine(const QString& text, QByteArray& plain)
{
    const char16_t* u = reinterpret_cast<const char16_t*>(text.constData());
    const qsizetype size = text.size();
    if (size >= 256 || std::any_of(u, u + size, [](char16_t c) { return c >= 0x80 || c == u'\r' || c == u'\n'; }))
        return false;
    const qsizetype at = plain.size();
    plain.resize(at + size + 2);
    char* out = plain.data() + at;
    out = std::copy(u, u + size, out);
    out[0] = '\r';
    out[1] = '\n';
    return true;
}

// Appends an entry's lines to plain, each ending in CR LF (an empty entry is one empty line);
// what they hold. The lines are written in place: at most each byte a line of its own.
uchar addEntry(const QString& text, bool latin1, QByteArray& plain)
{
    if (addShortLine(text, plain))
        return 0;
    const QByteArray bytes = latin1 ? text.toLatin1() : text.toUtf8();
    const char* d = bytes.constData();
    const qsizetype size = bytes.size();
    const qsizetype at = plain.size();
    plain.resize(at + 2 * size + 2);
    char* const begin = plain.data() + at;
    char* out = begin;
    uchar mark = 0;
    uchar allBits = 0;
    auto addLine = [&](qsizetype from, qsizetype to) {
        if (to - from >= 256)
            mark |= LongLine;
        std::memcpy(out, d + from, std::size_t(to - from));
        out += to - from;
        *out++ = '\r';
        *out++ = '\n';
    };
    qsizetype start = 0;
    for (qsizetype i = 0; i < size; ++i) {
        // Eight bytes at a time past those that end no line.
        while (i + 8 <= size) {
            std::uint64_t word;
            std::memcpy(&word, d + i, 8);
            if (hasByte(word, '\r') || hasByte(word, '\n'))
                break;
            allBits |= uchar((word & 0x8080808080808080u) ? 0x80 : 0);
            i += 8;
        }
        if (i == size)
            break;
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
    plain.truncate(at + (out - begin));
    if (allBits & 0x80)
        mark |= EightBit;
    return mark;
}

QByteArray quotedPrintable(const QByteArray& plain)
{
    QByteArray out;
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

struct KeptEntry
{
    QString text;
    bool latin1 = false;
    QByteArray plain;
    uchar mark = 0;
    QByteArray quoted; // made when first asked for
};

// The last long entries; only the run's thread encodes, the lock is for tests that do not.
struct Kept
{
    QMutex lock;
    std::vector<KeptEntry> entries; // the newest last
};

Kept& kept()
{
    static Kept k;
    return k;
}

// The kept conversion of a long entry, made now if it is not kept yet.
const KeptEntry& keptEntry(Kept& k, const QString& text, bool latin1)
{
    // A shared string compares without reading its text.
    auto found = std::find_if(k.entries.begin(), k.entries.end(),
        [&](const KeptEntry& e) { return e.latin1 == latin1 && e.text.size() == text.size() && e.text == text; });
    if (found != k.entries.end())
        return *found;
    if (k.entries.size() == KeptEntries)
        k.entries.erase(k.entries.begin());
    KeptEntry entry{text, latin1, {}, 0, {}};
    entry.mark = addEntry(text, latin1, entry.plain);
    entry.plain.squeeze(); // kept for the run: without the room it was written in
    k.entries.push_back(std::move(entry));
    return k.entries.back();
}

} // namespace

MailBodyLines::MailBodyLines(const QStringList& entries, bool latin1)
{
    Kept& k = kept();
    QMutexLocker lock(&k.lock);
    uchar marks = 0;
    QByteArray lines; // the short entries since the last long one
    for (const QString& entry : entries) {
        if (entry.size() < LongEntry) {
            marks |= addEntry(entry, latin1, lines);
            continue;
        }
        if (!lines.isEmpty())
            m_pieces.push_back(std::exchange(lines, QByteArray()));
        const KeptEntry& long_ = keptEntry(k, entry, latin1);
        marks |= long_.mark;
        m_pieces.push_back(long_.plain);
    }
    if (!lines.isEmpty())
        m_pieces.push_back(lines);
    m_longLines = (marks & LongLine) != 0;
    m_eightBit = (marks & EightBit) != 0;
}

std::vector<QByteArray> MailBodyLines::pieces(bool quoted) const
{
    if (!quoted)
        return m_pieces;
    Kept& k = kept();
    QMutexLocker lock(&k.lock);
    std::vector<QByteArray> out;
    out.reserve(m_pieces.size());
    for (const QByteArray& piece : m_pieces) {
        // A kept entry's piece is its own bytes: the same in every body that holds it.
        auto same = std::find_if(k.entries.begin(), k.entries.end(),
            [&](const KeptEntry& e) { return e.plain.constData() == piece.constData(); });
        if (same == k.entries.end()) {
            out.push_back(quotedPrintable(piece));
            continue;
        }
        if (same->quoted.isNull())
            same->quoted = quotedPrintable(piece);
        out.push_back(same->quoted);
    }
    return out;
}

QByteArray MailBodyLines::encoded(bool quoted) const
{
    QByteArray out;
    for (const QByteArray& piece : pieces(quoted))
        out += piece;
    return out;
}

void MailBodyLines::forgetKept()
{
    Kept& k = kept();
    QMutexLocker lock(&k.lock);
    k.entries.clear();
}
