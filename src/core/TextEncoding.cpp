#include "core/TextEncoding.h"

#include <QStringDecoder>

#include <array>
#include <cstring>

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
    return isValidUtf8(bytes) ? TextEncoding::Utf8 : TextEncoding::Windows1252;
}

bool isValidUtf8(const QByteArray& bytes)
{
    // Every sequence whole, shortest form, no surrogate, nothing past U+10FFFF - and a sequence
    // cut off by the end of the bytes is no UTF-8 either (a Windows-1252 file ending in "\xe9").
    const auto* p = reinterpret_cast<const uchar*>(bytes.constData());
    const qsizetype size = bytes.size();
    for (qsizetype i = 0; i < size;) {
        // Mostly plain ASCII: eight bytes at a time until one has its high bit set.
        while (size - i >= 8) {
            quint64 block;
            std::memcpy(&block, p + i, 8);
            if (block & 0x8080808080808080ULL)
                break;
            i += 8;
        }
        if (i == size)
            break;
        const uchar lead = p[i];
        if (lead < 0x80) {
            ++i;
            continue;
        }
        int length = 0;
        char32_t value = 0;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
            value = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            value = lead & 0x0F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            value = lead & 0x07;
        } else {
            return false;
        }
        if (size - i < length)
            return false;
        for (int k = 1; k < length; ++k) {
            if ((p[i + k] & 0xC0) != 0x80)
                return false;
            value = value << 6 | (p[i + k] & 0x3F);
        }
        if ((length == 3 && value < 0x800) || (length == 4 && value < 0x10000) || value > 0x10FFFF
            || (value >= 0xD800 && value <= 0xDFFF))
            return false;
        i += length;
    }
    return true;
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
    char* to = bytes.data();
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        const int b = u < 0x80 ? int(u) : windows1252Byte(u);
        *to++ = char(b < 0 ? '?' : b);
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
