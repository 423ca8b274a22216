#include "core/TextEncoding.h"

#include <QStringDecoder>

#include <array>

namespace {

// Characters of the bytes 0x80 to 0x9F; every other byte is the Latin-1 character of its number.
constexpr std::array<char16_t, 32> kHighControls = {
    u'\u20AC', u'\u0081', u'\u201A', u'\u0192', u'\u201E', u'\u2026', u'\u2020', u'\u2021', //
    u'\u02C6', u'\u2030', u'\u0160', u'\u2039', u'\u0152', u'\u008D', u'\u017D', u'\u008F', //
    u'\u0090', u'\u2018', u'\u2019', u'\u201C', u'\u201D', u'\u2022', u'\u2013', u'\u2014', //
    u'\u02DC', u'\u2122', u'\u0161', u'\u203A', u'\u0153', u'\u009D', u'\u017E', u'\u0178', //
};

// The byte of a character, or -1 when Windows-1252 has none.
int windows1252Byte(char16_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return c;
    for (size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == c)
            return int(0x80 + i);
    }
    return -1;
}

} // namespace

TextEncoding detectEncoding(const QByteArray& bytes)
{
    // Plain ASCII is by far the most common content: no decoder needed.
    bool ascii = true;
    for (const char c : bytes) {
        if (uchar(c) >= 0x80) {
            ascii = false;
            break;
        }
    }
    if (ascii)
        return TextEncoding::Utf8;
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom);
    const QString text = decoder.decode(bytes);
    Q_UNUSED(text)
    return decoder.hasError() ? TextEncoding::Windows1252 : TextEncoding::Utf8;
}

QString decodeText(const QByteArray& bytes, TextEncoding encoding)
{
    if (encoding == TextEncoding::Utf8) {
        // A byte order mark is kept as a character, so it is written back too.
        QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom);
        return decoder.decode(bytes);
    }
    QString text(bytes.size(), Qt::Uninitialized);
    char16_t* out = reinterpret_cast<char16_t*>(text.data());
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const uchar b = uchar(bytes[i]);
        out[i] = b >= 0x80 && b <= 0x9F ? kHighControls[b - 0x80] : char16_t(b);
    }
    return text;
}

QByteArray encodeText(const QString& text, TextEncoding encoding)
{
    if (encoding == TextEncoding::Utf8)
        return text.toUtf8();
    QByteArray bytes(text.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const int b = windows1252Byte(text[i].unicode());
        bytes[i] = char(b < 0 ? '?' : b);
    }
    return bytes;
}

bool canHold(TextEncoding encoding, const QString& text)
{
    if (encoding == TextEncoding::Utf8)
        return true;
    for (const QChar c : text) {
        if (windows1252Byte(c.unicode()) < 0)
            return false;
    }
    return true;
}

TextEncoding encodingFor(TextEncoding current, const QString& text)
{
    return canHold(current, text) ? current : TextEncoding::Utf8;
}
