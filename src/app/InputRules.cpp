#include "app/InputRules.h"

#include "core/Errors.h"

#include <QStringList>

namespace {

constexpr int MaxLine = 71;

// Appends the pieces of one line (without its break) to out.
void wrapLine(const QString& line, QStringList& out)
{
    qsizetype start = 0;
    while (line.size() - start > MaxLine) {
        const qsizetype at = start + MaxLine; // the line's 72nd character
        if (line[at] == QLatin1Char(' ')) {
            out.append(line.mid(start, MaxLine));
            start = at;
            continue;
        }
        const qsizetype blank = line.lastIndexOf(QLatin1Char(' '), at - 1);
        if (blank >= start) {
            out.append(line.mid(start, blank - start));
            start = blank + 1;
        } else {
            out.append(line.mid(start, MaxLine));
            start = at;
        }
    }
    out.append(line.mid(start));
}

} // namespace

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

QString wrapLines(const QString& text)
{
    const QString lineBreak = text.contains(QLatin1String("\r\n")) ? QStringLiteral("\r\n") : QStringLiteral("\n");
    QStringList out;
    for (const QString& line : text.split(lineBreak))
        wrapLine(line, out);
    return out.join(lineBreak);
}
