// Feeds arbitrary bytes to the line-file reader as a stored file, then writes the lines back. A
// file is read in the encoding it is in and written back in it: the rewrite may only turn its line
// breaks into CR LF, every other byte stays (a Windows-1252 file whose end looked like the start
// of a UTF-8 sequence lost its last character on every save). Reading the rewrite gives the same
// lines and the same encoding.

#include "FileFuzzSupport.h"
#include "core/LineFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString path = fuzzFolder() + QStringLiteral("/lines.dat");
    writeInput(path, data, size);
    TextEncoding encoding = TextEncoding::Utf8;
    const std::optional<QStringList> lines = readLineFile(path, &encoding);
    if (!lines)
        fail("an existing file did not read");

    writeLineFile(path, *lines);
    const QByteArray written = readBack(path);
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    if (withoutLineBreaks(written) != withoutLineBreaks(input))
        fail("the rewrite changed bytes other than line breaks");

    TextEncoding again = TextEncoding::Utf8;
    if (readLineFile(path, &again) != lines || again != encoding)
        fail("the rewrite reads differently");
    return 0;
}
