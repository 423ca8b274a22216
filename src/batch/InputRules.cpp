#include "batch/InputRules.h"

#include "core/Errors.h"

#include <QStringList>

bool isAcceptable8CharName(const QString& text)
{
    for (QChar c : text) {
        if (c == QLatin1Char(' ') || c == QLatin1Char('.') || c == QLatin1Char('/') || c == QLatin1Char('(')
            || c == QLatin1Char(')'))
            return false;
    }
    return true;
}

bool passesDigitFilter(QChar typed)
{
    return typed == QChar(8) || (typed >= QLatin1Char('0') && typed <= QLatin1Char('9'));
}

void buildLongDate(const QString& day, const QString& month, const QString& year, QString& out)
{
    static const char* const names[]
        = {"Jan-", "Feb-", "Mar-", "Apr-", "May-", "Jun-", "Jul-", "Aug-", "Sep-", "Oct-", "Nov-", "Dec-"};
    out.clear();
    if (!day.isEmpty())
        out += day + QLatin1Char('-');
    if (!month.isEmpty()) {
        const int m = toInteger(month);
        if (m >= 1 && m <= 12)
            out += QLatin1String(names[m - 1]);
    }
    if (!year.isEmpty()) {
        const int n = toInteger(year);
        if (n < 80)
            out += QStringLiteral("20") + year;
        else if (n <= 99)
            out += QStringLiteral("19") + year;
    }
}

QString loadedYear(const QString& year)
{
    if (year.size() == 4 && year.toInt() >= 1980 && year.toInt() <= 2079)
        return year.right(2);
    return year;
}
