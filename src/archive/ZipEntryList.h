#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <cstdint>

// One local file header of an archive: the 26 bytes after its signature, then the file name.
struct ZipEntryInfo
{
    uint16_t versionNeeded = 0;
    uint16_t flags = 0;
    uint16_t method = 0;
    uint16_t time = 0;
    uint16_t date = 0;
    uint32_t crc32 = 0;
    uint32_t compressedSize = 0;
    uint32_t uncompressedSize = 0;
    uint16_t fileNameLength = 0;
    uint16_t extraFieldLength = 0;
    QByteArray fileName; // as stored, fileNameLength bytes

    bool operator==(const ZipEntryInfo&) const = default;
};

// What reading an archive's entry list gives: the entries found, and how the scan ended.
struct ZipEntryList
{
    enum Outcome {
        Complete, // a central directory or the end of the archive's records was reached
        NoEntries, // no local file header in the first 60000 bytes
        Damaged, // error holds the text the user sees
    };

    QList<ZipEntryInfo> entries;
    Outcome outcome = Complete;
    QString error;
};

// Reads the entry list from an archive's local file headers: the first header signature must lie
// within the first 60000 bytes; from there, consecutive records up to the central directory. A
// pure function over the bytes: every length read from the archive is checked against the bytes
// there are, so a damaged or hostile archive ends the scan with an error text, never a read
// outside them. Entries read before the damage stay in the list.
ZipEntryList readZipEntries(const char* data, qint64 size);
inline ZipEntryList readZipEntries(const QByteArray& bytes)
{
    return readZipEntries(bytes.constData(), bytes.size());
}
