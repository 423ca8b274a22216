#include "net/MailSpool.h"

#include <algorithm>
#include <cstring>

MailSpool::MailSpool()
{
    open(QIODevice::ReadWrite);
}

void MailSpool::appendShared(const QByteArray& bytes)
{
    if (bytes.isEmpty())
        return;
    m_pieces.push_back(bytes);
    m_taken.push_back(true);
    m_lastShared = true;
    m_size += bytes.size();
}

qint64 MailSpool::writeData(const char* data, qint64 size)
{
    if (m_pieces.empty() || m_lastShared) {
        m_pieces.emplace_back();
        m_taken.push_back(false);
        m_lastShared = false;
    }
    m_pieces.back().append(data, size);
    m_size += size;
    return size;
}

qint64 MailSpool::readData(char* data, qint64 maxSize)
{
    // From the device's position: the piece it falls in, and on through the next ones.
    qint64 start = pos();
    qint64 copied = 0;
    for (const QByteArray& piece : m_pieces) {
        if (copied == maxSize)
            break;
        if (start >= piece.size()) {
            start -= piece.size();
            continue;
        }
        const qint64 count = std::min<qint64>(piece.size() - start, maxSize - copied);
        std::memcpy(data + copied, piece.constData() + start, size_t(count));
        copied += count;
        start = 0;
    }
    return copied;
}
