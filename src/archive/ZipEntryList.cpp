#include "archive/ZipEntryList.h"

#include <cstring>

namespace {

constexpr qint64 SearchLimit = 60000;
constexpr qint64 HeaderSize = 26; // after the signature
constexpr qint64 EndRecordSize = 22; // the end-of-central-directory record the data may not reach

const char LocalHeader[] = {'P', 'K', 3, 4};
const char CentralHeader[] = {'P', 'K', 1, 2};
const char EndRecord[] = {'P', 'K', 5, 6};

uint16_t le16(const unsigned char* p)
{
    return uint16_t(p[0] | p[1] << 8);
}

uint32_t le32(const unsigned char* p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

ZipEntryList damaged(ZipEntryList list, const char* text)
{
    list.outcome = ZipEntryList::Damaged;
    list.error = QString::fromLatin1(text);
    return list;
}

} // namespace

ZipEntryList readZipEntries(const char* data, qint64 size)
{
    ZipEntryList list;
    if (!data || size < 0)
        size = 0;

    // The first local header signature, whole within the first 60000 bytes.
    qint64 pos = -1;
    const qint64 searchEnd = qMin(size, SearchLimit);
    for (qint64 i = 0; i + 4 <= searchEnd; ++i) {
        if (std::memcmp(data + i, LocalHeader, 4) == 0) {
            pos = i;
            break;
        }
    }
    if (pos < 0) {
        list.outcome = ZipEntryList::NoEntries;
        return list;
    }

    // Every position stays within [0, size]: each step first checks that what it reads is there.
    while (true) {
        if (size - pos < 4)
            return damaged(list, "Error reading Zip File");
        const char* signature = data + pos;
        pos += 4;
        if (std::memcmp(signature, CentralHeader, 4) == 0 || std::memcmp(signature, EndRecord, 4) == 0)
            return list;
        if (std::memcmp(signature, LocalHeader, 4) != 0)
            continue;

        if (size - pos < HeaderSize)
            return damaged(list, "Error 2 reading Zip file");
        const auto* h = reinterpret_cast<const unsigned char*>(data + pos);
        ZipEntryInfo entry;
        entry.versionNeeded = le16(h);
        entry.flags = le16(h + 2);
        entry.method = le16(h + 4);
        entry.time = le16(h + 6);
        entry.date = le16(h + 8);
        entry.crc32 = le32(h + 10);
        entry.compressedSize = le32(h + 14);
        entry.uncompressedSize = le32(h + 18);
        entry.fileNameLength = le16(h + 22);
        entry.extraFieldLength = le16(h + 24);
        pos += HeaderSize;
        if (size - pos < entry.fileNameLength)
            return damaged(list, "Error 2 reading Zip file");
        entry.fileName = QByteArray(data + pos, entry.fileNameLength);
        pos += entry.fileNameLength;
        list.entries.append(entry);

        // Lengths are at most 16 and 32 bits: their sum cannot overflow 64 bits.
        const qint64 skip = qint64(entry.extraFieldLength) + qint64(entry.compressedSize);
        if (pos + skip > size - EndRecordSize)
            return damaged(list, "Error 3 reading Zip file");
        if (size - pos < entry.extraFieldLength)
            return damaged(list, "Error 4 reading Zip file");
        pos += entry.extraFieldLength;
        if (size - pos < qint64(entry.compressedSize))
            return damaged(list, "Error 5 reading Zip file");
        pos += entry.compressedSize;
    }
}
