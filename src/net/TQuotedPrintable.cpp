#include "net/TQuotedPrintable.h"

#include "core/Errors.h"

namespace {

QByteArray escaped(const QByteArray& piece)
{
    static const char hex[] = "0123456789ABCDEF";
    QByteArray out;
    out.reserve(piece.size() * 3);
    for (char ch : piece) {
        const auto byte = static_cast<unsigned char>(ch);
        if (byte < 32 || byte == '=' || byte >= 128) {
            out += '=';
            out += hex[byte >> 4];
            out += hex[byte & 0x0F];
        } else {
            out += ch;
        }
    }
    return out;
}

bool isLineEnd(char ch)
{
    return ch == '\r' || ch == '\n';
}

} // namespace

QList<QByteArray> TQuotedPrintable::encodeParagraph(const QByteArray& paragraph)
{
    if (paragraph.size() > MaxParagraph)
        throw QuilletError(QStringLiteral("Paragraph is too large"));
    QList<QByteArray> lines;
    qsizetype start = 0;
    const qsizetype size = paragraph.size();
    if (size == 0)
        return {QByteArray()};
    while (start < size) {
        if (size - start < PieceLength) {
            lines << escaped(paragraph.mid(start));
            break;
        }
        // The last space among the next 66 characters, not the one at the start itself.
        qsizetype cut = -1;
        const qsizetype window = std::min<qsizetype>(PieceLength + 1, size - start);
        for (qsizetype i = window - 1; i >= 1; --i) {
            if (paragraph[start + i] == ' ') {
                cut = i;
                break;
            }
        }
        if (cut < 0)
            cut = PieceLength;
        if (start + cut >= size) {
            lines << escaped(paragraph.mid(start));
            break;
        }
        lines << escaped(paragraph.mid(start, cut)) + '=';
        start += cut;
    }
    return lines;
}

QList<QByteArray> TQuotedPrintable::encode(const QByteArray& text)
{
    QList<QByteArray> lines;
    qsizetype start = 0;
    const qsizetype size = text.size();
    while (start < size) {
        qsizetype end = start;
        while (end < size && !isLineEnd(text[end]))
            ++end;
        lines << encodeParagraph(text.mid(start, end - start));
        if (end < size) {
            ++end;
            if (end < size && isLineEnd(text[end]))
                ++end;
        }
        start = end;
    }
    return lines;
}
