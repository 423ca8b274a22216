#include "net/LineFIFO.h"

#include <algorithm>
#include <cstring>

LineFIFO::LineFIFO(int capacity)
    : m_capacity(std::max(capacity, 1))
    , m_storage(new char[size_t(m_capacity)])
{
}

void LineFIFO::reset()
{
    m_begin = m_end = 0;
    m_pendingDelimiter.clear();
}

void LineFIFO::setDelimiter(const QByteArray& delimiter, Mode mode)
{
    m_delimiter = delimiter;
    m_mode = mode;
}

char* LineFIFO::freeSpace()
{
    if (m_begin > 0) {
        std::memmove(m_storage.get(), m_storage.get() + m_begin, size_t(size()));
        m_end -= m_begin;
        m_begin = 0;
    }
    return m_storage.get() + m_end;
}

void LineFIFO::commit(int count)
{
    if (count <= 0)
        return;
    const int start = m_end;
    m_end = std::min(m_end + count, m_capacity);
    if (m_pendingDelimiter.isEmpty())
        return;
    // Only the receive right after the cut can continue the delimiter, and it starts right
    // where the cut was: nothing was buffered after the delimiter's first bytes.
    int matched = 0;
    while (matched < m_pendingDelimiter.size() && start + matched < m_end
        && m_storage[start + matched] == m_pendingDelimiter[matched])
        ++matched;
    if (start + matched == m_end && matched < m_pendingDelimiter.size()) {
        m_pendingDelimiter.remove(0, matched);
    } else {
        m_pendingDelimiter.clear();
    }
    if (matched > 0 && start == m_begin) {
        m_begin += matched;
    } else if (matched > 0) {
        std::memmove(m_storage.get() + start, m_storage.get() + start + matched, size_t(m_end - start - matched));
        m_end -= matched;
    }
}

int LineFIFO::append(const char* bytes, int count)
{
    const int taken = std::clamp(count, 0, freeSize());
    if (taken > 0) {
        std::memcpy(freeSpace(), bytes, size_t(taken));
        commit(taken);
    }
    return taken;
}

bool LineFIFO::takeLine(Piece* piece)
{
    if (isEmpty())
        return false;
    if (m_delimiter.isEmpty()) {
        cutPiece(piece, size(), size(), false);
        return true;
    }
    return m_mode == Mode::Exact ? takeExact(piece) : takeAnyChar(piece);
}

bool LineFIFO::takeExact(Piece* piece)
{
    const QByteArrayView buffered(data(), size());
    const qsizetype at = buffered.indexOf(QByteArrayView(m_delimiter));
    if (at < 0)
        return false;
    cutPiece(piece, int(at), int(at + m_delimiter.size()), true);
    return true;
}

bool LineFIFO::takeAnyChar(Piece* piece)
{
    const char* bytes = data();
    const int length = size();
    int at = 0;
    qsizetype place = -1;
    for (; at < length; ++at) {
        place = m_delimiter.indexOf(bytes[at]);
        if (place >= 0)
            break;
    }
    if (place < 0)
        return false;
    int end = at + 1;
    qsizetype next = place + 1;
    while (next < m_delimiter.size() && end < length && bytes[end] == m_delimiter[next]) {
        ++end;
        ++next;
    }
    if (end == length && next < m_delimiter.size())
        m_pendingDelimiter = m_delimiter.mid(next);
    else
        m_pendingDelimiter.clear();
    cutPiece(piece, at, end, true);
    return true;
}

bool LineFIFO::takeFull(Piece* piece)
{
    if (!isFull())
        return false;
    int keep = 0;
    if (m_mode == Mode::Exact && !m_delimiter.isEmpty()) {
        // The longest tail that is a proper beginning of the delimiter.
        const int longest = std::min(int(m_delimiter.size()) - 1, size() - 1);
        for (int n = longest; n > 0; --n) {
            if (std::memcmp(data() + size() - n, m_delimiter.constData(), size_t(n)) == 0) {
                keep = n;
                break;
            }
        }
    }
    cutPiece(piece, size() - keep, size() - keep, false);
    return true;
}

bool LineFIFO::takeRest(Piece* piece)
{
    if (isEmpty())
        return false;
    cutPiece(piece, size(), size(), false);
    return true;
}

void LineFIFO::cutPiece(Piece* piece, int length, int consumed, bool delimited)
{
    piece->data = QByteArray(data(), length);
    piece->delimited = delimited;
    m_begin += consumed;
    if (m_begin == m_end)
        m_begin = m_end = 0;
}
