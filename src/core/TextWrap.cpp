#include "core/TextWrap.h"

#include "core/LastLongText.h"

#include <QStringList>

namespace {

constexpr int MaxLine = 71;

// Gives the pieces of one line (without its break) to add, in order.
template <typename Add>
void wrapLine(QStringView line, const Add& add)
{
    qsizetype start = 0;
    while (line.size() - start > MaxLine) {
        const qsizetype at = start + MaxLine; // the line's 72nd character
        if (line[at] == QLatin1Char(' ')) {
            add(line.sliced(start, MaxLine));
            start = at;
            continue;
        }
        const qsizetype blank = line.lastIndexOf(QLatin1Char(' '), at - 1);
        if (blank >= start) {
            add(line.sliced(start, blank - start));
            start = blank + 1;
        } else {
            add(line.sliced(start, MaxLine));
            start = at;
        }
    }
    add(line.sliced(start));
}

// Where the line from start ends: at its CR LF, or at its LF; -1 for the last line.
qsizetype lineEnd(const QString& text, qsizetype start, bool crlf)
{
    qsizetype lf = text.indexOf(QLatin1Char('\n'), start);
    if (!crlf)
        return lf;
    while (lf >= 0 && !(lf > start && text[lf - 1] == QLatin1Char('\r')))
        lf = text.indexOf(QLatin1Char('\n'), lf + 1);
    return lf < 0 ? -1 : lf - 1;
}

} // namespace

QString wrapLines(const QString& text)
{
    // Each archive site asks for the wrapped description and notes.
    thread_local LastLongText last;
    if (const QString* answer = last.find(text))
        return *answer;
    // The text's own breaks, CR LF when it holds one, LF otherwise; the wrapped lines are written
    // in one pass into a text of about the right size.
    const bool crlf = text.contains(QLatin1String("\r\n"));
    const QLatin1String lineBreak = crlf ? QLatin1String("\r\n") : QLatin1String("\n");
    QString answer;
    answer.reserve(text.size() + text.size() / MaxLine * lineBreak.size() + lineBreak.size());
    bool first = true;
    const auto add = [&](QStringView piece) {
        if (!first)
            answer += lineBreak;
        answer += piece;
        first = false;
    };
    const QStringView all(text);
    for (qsizetype start = 0;;) {
        const qsizetype end = lineEnd(text, start, crlf);
        wrapLine(end < 0 ? all.sliced(start) : all.sliced(start, end - start), add);
        if (end < 0)
            break;
        start = end + lineBreak.size();
    }
    last.keep(text, 0, answer);
    return answer;
}
