#include "submit/FormEncoding.h"

#include "core/LastLongText.h"

#include <array>
#include <string_view>

#include <QStringList>

QString formEncoded(const QString& text, TextEncoding encoding)
{
    // Every form site gets the same long description.
    thread_local LastLongText last;
    if (const QString* answer = last.find(text, int(encoding)))
        return *answer;
    static const char hex[] = "0123456789ABCDEF";
    const QByteArray bytes = encodeText(text, encoding);
    // Written through a pointer: a long description is megabytes, a call per byte too slow.
    QByteArray out(bytes.size() * 3, Qt::Uninitialized);
    char* to = out.data();
    static const std::array<bool, 256> kept = [] {
        std::array<bool, 256> table{};
        for (const uchar c : std::string_view("*-._"))
            table[c] = true;
        for (int c = 0; c < 256; ++c)
            table[c] = table[c] || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
        return table;
    }();
    for (const char c : bytes) {
        const uchar u = uchar(c);
        if (kept[u]) {
            *to++ = c;
        } else if (u == ' ') {
            *to++ = '+';
        } else {
            *to++ = '%';
            *to++ = hex[u >> 4];
            *to++ = hex[u & 0x0f];
        }
    }
    out.truncate(to - out.constData());
    const QString answer = QString::fromLatin1(out);
    last.keep(text, int(encoding), answer);
    return answer;
}

QString formEncodedPairs(const QString& pairs, TextEncoding encoding)
{
    QStringList out;
    for (const QString& pair : pairs.split(QLatin1Char('&'))) {
        const qsizetype eq = pair.indexOf(QLatin1Char('='));
        out << (eq < 0
                ? formEncoded(pair, encoding)
                : formEncoded(pair.left(eq), encoding) + QLatin1Char('=') + formEncoded(pair.mid(eq + 1), encoding));
    }
    return out.join(QLatin1Char('&'));
}
