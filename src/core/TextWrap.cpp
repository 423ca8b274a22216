#include "core/TextWrap.h"

#include "core/LastLongText.h"

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

QString wrapLines(const QString& text)
{
    // Each archive site asks for the wrapped description and notes.
    thread_local LastLongText last;
    if (const QString* answer = last.find(text))
        return *answer;
    const QString lineBreak = text.contains(QLatin1String("\r\n")) ? QStringLiteral("\r\n") : QStringLiteral("\n");
    QStringList out;
    for (const QString& line : text.split(lineBreak))
        wrapLine(line, out);
    const QString answer = out.join(lineBreak);
    last.keep(text, 0, answer);
    return answer;
}
