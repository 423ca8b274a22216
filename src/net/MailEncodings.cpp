#include "net/MailEncodings.h"

namespace MailEncodings {

namespace {

    char uuChar(int value)
    {
        value &= 0x3F;
        return value ? char(value + 32) : '`';
    }

} // namespace

QList<QByteArray> base64Lines(const QByteArray& content)
{
    QList<QByteArray> lines;
    for (qsizetype pos = 0;; pos += Base64Block) {
        const QByteArray block = content.mid(pos, Base64Block);
        lines << block.toBase64();
        if (block.size() < Base64Block)
            break;
    }
    return lines;
}

QByteArray uuLine(const QByteArray& block)
{
    QByteArray line;
    line += uuChar(int(block.size()));
    for (qsizetype i = 0; i < block.size(); i += 3) {
        const int a = static_cast<unsigned char>(block[i]);
        const int b = i + 1 < block.size() ? static_cast<unsigned char>(block[i + 1]) : 0;
        const int c = i + 2 < block.size() ? static_cast<unsigned char>(block[i + 2]) : 0;
        line += uuChar(a >> 2);
        line += uuChar((a << 4) | (b >> 4));
        line += uuChar((b << 2) | (c >> 6));
        line += uuChar(c);
    }
    return line;
}

QList<QByteArray> uuLines(const QByteArray& content)
{
    QList<QByteArray> lines;
    for (qsizetype pos = 0;; pos += UUBlock) {
        const QByteArray block = content.mid(pos, UUBlock);
        lines << uuLine(block);
        if (block.size() < UUBlock)
            break;
    }
    return lines;
}

} // namespace MailEncodings
