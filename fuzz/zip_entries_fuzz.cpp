// Feeds arbitrary bytes to the archive entry-list reader as the bytes of a whole archive. Besides
// the sanitizers' findings (a read outside the bytes is one) it checks what the reader promises:
// every entry's name has its stated length, a damaged archive ends with one of the reader's error
// texts, and reading the same bytes twice gives the same list.

#include "FuzzSupport.h"
#include "archive/ZipEntryList.h"

#include <vector>

namespace {

bool knownError(const QString& text)
{
    static const char* const texts[] = {"Error reading Zip File", "Error 2 reading Zip file",
        "Error 3 reading Zip file", "Error 4 reading Zip file", "Error 5 reading Zip file"};
    for (const char* t : texts) {
        if (text == QLatin1String(t))
            return true;
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // An exact-size copy, so that reading one byte past the end is a heap overflow ASan sees.
    std::vector<char> bytes(data, data + size);
    const ZipEntryList list = readZipEntries(bytes.data(), qint64(bytes.size()));

    for (const ZipEntryInfo& entry : list.entries) {
        if (entry.fileName.size() != entry.fileNameLength)
            fail("name length differs from the header");
    }
    // Each entry takes at least its signature and header.
    if (qint64(list.entries.size()) * 30 > qint64(size))
        fail("more entries than the bytes can hold");
    switch (list.outcome) {
    case ZipEntryList::Complete:
    case ZipEntryList::NoEntries:
        if (!list.error.isEmpty())
            fail("error text without an error");
        if (list.outcome == ZipEntryList::NoEntries && !list.entries.isEmpty())
            fail("entries without a header");
        break;
    case ZipEntryList::Damaged:
        if (!knownError(list.error))
            fail("unknown error text");
        break;
    }
    const ZipEntryList again = readZipEntries(bytes.data(), qint64(bytes.size()));
    if (again.entries != list.entries || again.outcome != list.outcome || again.error != list.error)
        fail("same bytes, different list");
    return 0;
}
