#include "core/Errors.h"

#include <cctype>

int toInteger(const QString& text)
{
    const QString t = text.trimmed();
    QString digits = t;
    bool negative = false;
    if (digits.startsWith(QLatin1Char('-')) || digits.startsWith(QLatin1Char('+'))) {
        negative = digits.startsWith(QLatin1Char('-'));
        digits = digits.mid(1);
    }
    int base = 10;
    if (digits.startsWith(QLatin1Char('$'))) {
        base = 16;
        digits = digits.mid(1);
    } else if (digits.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
        base = 16;
        digits = digits.mid(2);
    }
    bool ok = !digits.isEmpty();
    for (QChar c : digits) {
        if (base == 10 ? !c.isDigit() || c.unicode() > '9' : !isxdigit(c.toLatin1()))
            ok = false;
    }
    const qint64 value = ok ? digits.toLongLong(&ok, base) : 0;
    if (!ok || value > 0x7fffffffLL + (negative ? 1 : 0))
        throw EConvertError(text);
    return static_cast<int>(negative ? -value : value);
}
