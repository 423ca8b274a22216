// Feeds arbitrary bytes to the PAD reader and to the scan that cuts extension sections out before
// it: the cut keeps every line, never grows a file, and leaves a well-formed file well-formed (the
// sections it keeps are copied byte for byte).

#include "FuzzSupport.h"
#include "pad/ExtensionSections.h"
#include "pad/PadDocument.h"

#include <QXmlStreamReader>

namespace {

bool isWellFormed(const QByteArray& bytes)
{
    QXmlStreamReader reader(bytes);
    while (!reader.atEnd())
        reader.readNext();
    return !reader.hasError();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    const QByteArray cut = withoutExtensionSections(input, [](QByteArrayView name) { return name.startsWith("P"); });
    if (cut.count('\n') != input.count('\n'))
        fail("the cut changed the number of lines");
    if (cut.size() > input.size())
        fail("the cut grew the file");
    // A well-formed file stays well-formed after the cut.
    if (isWellFormed(input) && !isWellFormed(cut))
        fail("the cut broke a well-formed file");
    QString error;
    (void)PadDocument::parse(input, &error);
    return 0;
}
