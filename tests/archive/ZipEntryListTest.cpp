// The entry-list reader over well-formed, damaged and hostile archive bytes.
#include "archive/ZipEntryList.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {

QByteArray le16(unsigned v)
{
    const char bytes[] = {char(v & 0xff), char(v >> 8 & 0xff)};
    return QByteArray(bytes, 2);
}

QByteArray le32(quint32 v)
{
    return le16(v & 0xffff) + le16(v >> 16);
}

struct Header
{
    QByteArray name;
    QByteArray data;
    quint32 declaredSize; // compressed size as stated
    unsigned declaredNameLength;
    unsigned extraLength;
};

// A local file header (stored, so both sizes are the data's size) followed by name, extra, data.
QByteArray local(const Header& h)
{
    return QByteArray("PK\3\4") + le16(20) + le16(0) + le16(0) + le16(0x6000) + le16(0x26e4) + le32(0x12345678)
        + le32(h.declaredSize) + le32(quint32(h.data.size())) + le16(h.declaredNameLength) + le16(h.extraLength)
        + h.name + QByteArray(int(qMin(h.extraLength, 64u)), 'x') + h.data;
}

QByteArray entry(const QByteArray& name, const QByteArray& data)
{
    return local({name, data, quint32(data.size()), unsigned(name.size()), 0});
}

// The end-of-central-directory record: the 22 bytes no entry's data may reach into.
const QByteArray End = QByteArray("PK\5\6") + QByteArray(18, '\0');

struct Case
{
    const char* what;
    QByteArray bytes;
    ZipEntryList::Outcome outcome;
    const char* error;
    QList<QByteArray> names;
};

QList<QByteArray> namesOf(const ZipEntryList& list)
{
    QList<QByteArray> names;
    for (const ZipEntryInfo& e : list.entries)
        names.append(e.fileName);
    return names;
}

const char* const NoError = "";

TEST(ZipEntryList, ReadsHeadersAndEndsWithTheirErrorTexts)
{
    using O = ZipEntryList::Outcome;
    const QByteArray two = entry("a.txt", "alpha") + entry("b.txt", "bravo!");
    const Case cases[] = {
        {"two entries, central directory", two + QByteArray("PK\1\2") + End, O::Complete, NoError, {"a.txt", "b.txt"}},
        {"two entries, end record", two + End, O::Complete, NoError, {"a.txt", "b.txt"}},
        {"a stub before the first header", QByteArray(1000, 'M') + entry("p.exe", "x") + End, O::Complete, NoError,
            {"p.exe"}},
        {"an unknown record is skipped by four bytes", entry("a", "1") + "JUNK" + End, O::Complete, NoError, {"a"}},
        {"empty file", QByteArray(), O::NoEntries, NoError, {}},
        {"zeros over 60000 bytes", QByteArray(60001, '\0'), O::NoEntries, NoError, {}},
        {"header whole within the first 60000 bytes", QByteArray(59996, '\0') + entry("late", "") + End, O::Complete,
            NoError, {"late"}},
        {"header one byte too late", QByteArray(59997, '\0') + entry("late", "") + End, O::NoEntries, NoError, {}},
        {"records end without a directory", entry("a", "1") + QByteArray(22, 'Z'), O::Damaged, "Error reading Zip File",
            {"a"}},
        {"header cut short", QByteArray("PK\3\4") + QByteArray(25, '\0'), O::Damaged, "Error 2 reading Zip file", {}},
        {"name longer than the bytes left", local({"abc", "", 0, 200, 0}) + End, O::Damaged, "Error 2 reading Zip file",
            {}},
        {"name length 65535", local({"n", "", 0, 0xffff, 0}), O::Damaged, "Error 2 reading Zip file", {}},
        {"data size past the end", local({"big", "x", 0xffffffffu, 3, 0}) + End, O::Damaged, "Error 3 reading Zip file",
            {"big"}},
        {"extra field reaching into the end record", local({"e", "", 0, 1, 40}), O::Damaged, "Error 3 reading Zip file",
            {"e"}},
        {"data exactly up to the end record", entry("a", "data") + End, O::Complete, NoError, {"a"}},
        {"data one byte into the end record", local({"a", "data", 5, 1, 0}) + End, O::Damaged,
            "Error 3 reading Zip file", {"a"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const ZipEntryList list = readZipEntries(c.bytes);
        EXPECT_EQ(list.outcome, c.outcome);
        EXPECT_EQ(list.error.toStdString(), std::string(c.error));
        EXPECT_EQ(namesOf(list), c.names);
    }
}

TEST(ZipEntryList, DecodesEveryHeaderField)
{
    const ZipEntryList list = readZipEntries(local({"name.txt", "12345", 5, 8, 2}) + End);
    ASSERT_EQ(list.entries.size(), 1);
    const ZipEntryInfo& e = list.entries.front();
    EXPECT_EQ(e.versionNeeded, 20);
    EXPECT_EQ(e.time, 0x6000);
    EXPECT_EQ(e.date, 0x26e4);
    EXPECT_EQ(e.crc32, 0x12345678u);
    EXPECT_EQ(e.compressedSize, 5u);
    EXPECT_EQ(e.uncompressedSize, 5u);
    EXPECT_EQ(e.fileNameLength, 8);
    EXPECT_EQ(e.extraFieldLength, 2);
    EXPECT_EQ(e.fileName, "name.txt");
}

// An archive made by the zip command, and every truncation of it: a cut archive gives the entries
// before the cut and an error, never more.
TEST(ZipEntryList, ArchiveOfTheZipCommandAndEveryTruncation)
{
    QFile file(QStringLiteral(QUILLET_TEST_DATA_DIR "/archive/two-files.zip"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    const ZipEntryList whole = readZipEntries(bytes);
    ASSERT_EQ(whole.outcome, ZipEntryList::Complete);
    ASSERT_EQ(namesOf(whole), (QList<QByteArray>{"readme.txt", "prog.exe"}));
    EXPECT_EQ(whole.entries[0].method, 8);

    for (qsizetype cut = 0; cut < bytes.size(); ++cut) {
        const ZipEntryList part = readZipEntries(bytes.left(cut));
        ASSERT_LE(part.entries.size(), whole.entries.size()) << cut;
        for (qsizetype i = 0; i < part.entries.size(); ++i)
            ASSERT_EQ(part.entries[i], whole.entries[i]) << cut;
        if (part.outcome == ZipEntryList::Complete) {
            ASSERT_EQ(part.entries.size(), whole.entries.size()) << cut;
        }
    }
}

} // namespace
