// Feeds arbitrary bytes to the profile (INI) reader as a stored file. Every line decodes and
// encodes back to its own bytes in the encoding found; a value written to a key and read back
// after the commit is the value written, and every other key the input names reads as it did.

#include "FileFuzzSupport.h"
#include "core/LineFile.h"
#include "core/ProfileFile.h"

#include <utility>
#include <vector>

namespace {

// The section and key names the input's lines look like they give, for reading them back.
std::vector<std::pair<QString, QString>> namedKeys(const ProfileFile& file, const QByteArrayList& lines)
{
    std::vector<std::pair<QString, QString>> keys;
    QString section;
    for (const QByteArray& raw : lines) {
        const QString line = decodeText(raw, file.encoding()).trimmed();
        if (line.startsWith(QLatin1Char('[')) && line.contains(QLatin1Char(']')))
            section = line.mid(1, line.indexOf(QLatin1Char(']')) - 1).trimmed();
        else if (line.contains(QLatin1Char('=')) && keys.size() < 64)
            keys.emplace_back(section, line.left(line.indexOf(QLatin1Char('='))).trimmed());
    }
    return keys;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString path = fuzzFolder() + QStringLiteral("/profile.dat");
    writeInput(path, data, size);
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    const QByteArrayList lines = splitLines(input);

    ProfileFile file(path);
    for (const QByteArray& line : lines) {
        if (encodeText(decodeText(line, file.encoding()), file.encoding()) != line)
            fail("a line does not decode to its own bytes");
    }
    const auto keys = namedKeys(file, lines);
    std::vector<QString> before;
    for (const auto& [section, key] : keys)
        before.push_back(file.readString(section, key));

    // A value Windows-1252 cannot hold turns such a file into UTF-8 as it is written.
    const QString probeSection = QStringLiteral("Fuzz Probe");
    const QString value = size % 2 ? QStringLiteral("caf\u00e9 \u0142") : QStringLiteral("caf\u00e9");
    file.writeString(probeSection, QStringLiteral("Value"), value);
    file.commit();

    const ProfileFile reread(path);
    if (reread.readString(probeSection, QStringLiteral("Value")) != value)
        fail("the written value reads back differently");
    for (size_t i = 0; i < keys.size(); ++i) {
        const auto& [section, key] = keys[i];
        const bool probe = section.compare(probeSection, Qt::CaseInsensitive) == 0;
        if (!probe && reread.readString(section, key) != before[i])
            fail("another key reads differently after the write");
    }
    return 0;
}
