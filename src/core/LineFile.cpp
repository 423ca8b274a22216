#include "core/LineFile.h"

#include "core/Errors.h"
#include "core/LastLongText.h"

#include <QFile>
#include <QFileInfo>

QByteArrayList splitLines(const QByteArray& content)
{
    QByteArrayList lines;
    qsizetype start = 0;
    const qsizetype size = content.size();
    for (qsizetype i = 0; i < size; ++i) {
        const char c = content[i];
        if (c != '\r' && c != '\n')
            continue;
        lines.append(content.mid(start, i - start));
        if (c == '\r' && i + 1 < size && content[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < size)
        lines.append(content.mid(start));
    return lines;
}

QByteArray joinLines(const QByteArrayList& lines)
{
    QByteArray out;
    qsizetype total = 0;
    for (const QByteArray& line : lines)
        total += line.size() + 2;
    out.reserve(total);
    for (const QByteArray& line : lines) {
        out.append(line);
        out.append("\r\n", 2);
    }
    return out;
}

QString linesText(const QStringList& lines)
{
    qsizetype total = 0;
    for (const QString& line : lines)
        total += line.size() + 2;
    QString text;
    text.reserve(total);
    for (const QString& line : lines) {
        text += line;
        text += QLatin1String("\r\n", 2);
    }
    return text;
}

std::optional<QStringList> readLineFile(const QString& path, TextEncoding* encoding)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray content = file.readAll();
    const TextEncoding found = detectEncoding(content);
    if (encoding)
        *encoding = found;
    QStringList lines;
    for (const QByteArray& line : splitLines(content))
        lines.append(decodeText(line, found));
    return lines;
}

std::optional<QString> readLineText(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray content = file.readAll();
    QString text = decodeText(content, detectEncoding(content));
    // Each line break, CR LF, LF or a lone CR, becomes LF; the last line's break ends it and
    // starts no empty line after it.
    const qsizetype first = text.indexOf(QLatin1Char('\r'));
    qsizetype to = first < 0 ? text.size() : first;
    if (first >= 0) {
        char16_t* d = reinterpret_cast<char16_t*>(text.data());
        const qsizetype size = text.size();
        for (qsizetype i = first; i < size; ++i) {
            if (d[i] == u'\r') {
                if (i + 1 < size && d[i + 1] == u'\n')
                    ++i;
                d[to++] = u'\n';
            } else {
                d[to++] = d[i];
            }
        }
    }
    if (to > 0 && text[to - 1] == QLatin1Char('\n'))
        --to;
    text.truncate(to);
    return text;
}

TextEncoding fileEncoding(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return TextEncoding::Utf8;
    return detectEncoding(file.readAll());
}

QString crLfLinesText(const QString& text)
{
    const qsizetype size = text.size();
    const char16_t* d = reinterpret_cast<const char16_t*>(text.constData());
    QString out;
    out.reserve(size + size / 16 + 2);
    qsizetype start = 0;
    for (qsizetype i = 0; i < size; ++i) {
        if (d[i] >= 0x20 || (d[i] != u'\r' && d[i] != u'\n'))
            continue;
        out += QStringView(text).sliced(start, i - start);
        out += QLatin1String("\r\n", 2);
        if (d[i] == u'\r' && i + 1 < size && d[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < size) {
        out += QStringView(text).sliced(start);
        out += QLatin1String("\r\n", 2);
    }
    return out;
}

namespace {

// The LF texts of the CR LF texts asked about last, kept with them.
LastLongText& lfTexts()
{
    thread_local LastLongText kept;
    return kept;
}

} // namespace

QString withCrLfBreaks(const QString& text)
{
    const qsizetype breaks = text.count(QLatin1Char('\n'));
    if (breaks == 0)
        return text;
    QString out(text.size() + breaks, Qt::Uninitialized);
    char16_t* to = reinterpret_cast<char16_t*>(out.data());
    for (const QChar c : text) {
        if (c == QLatin1Char('\n'))
            *to++ = u'\r';
        *to++ = c.unicode();
    }
    // Taking the CR before each LF out again gives back this text: a run that asks for the LF
    // form of the memo it was given gets the text it already holds.
    lfTexts().keep(out, 0, text);
    return out;
}

QString withLfBreaks(QString text)
{
    const qsizetype first = text.indexOf(QLatin1Char('\r'));
    if (first < 0)
        return text;
    // A run asks for the same long memo text once per mail.
    LastLongText& last = lfTexts();
    if (const QString* answer = last.find(text))
        return *answer;
    const QString given = text;
    char16_t* d = reinterpret_cast<char16_t*>(text.data());
    const qsizetype size = text.size();
    qsizetype to = first;
    for (qsizetype i = first; i < size; ++i) {
        if (d[i] == u'\r' && i + 1 < size && d[i + 1] == u'\n')
            continue;
        d[to++] = d[i];
    }
    text.truncate(to);
    last.keep(given, 0, text);
    return text;
}

namespace {

// The text written as it is, in encoding when that can hold it.
void writeLinesText(const QString& path, const QString& text, TextEncoding encoding)
{
    if (!writeFileWholeIfChanged(path, encodeText(text, encodingFor(encoding, text))))
        throw ECreateError(path);
}

} // namespace

void writeLineFile(const QString& path, const QStringList& lines)
{
    writeLinesText(path, linesText(lines), fileEncoding(path));
}

void writeLineFileIn(const QString& path, const QStringList& lines, TextEncoding encoding)
{
    writeLinesText(path, linesText(lines), encoding);
}

void writeTextLines(const QString& path, const QString& text)
{
    writeLinesText(path, crLfLinesText(text), fileEncoding(path));
}

QStringList textToLines(const QString& text)
{
    // The same breaks as splitLines, found in the text itself: a round trip through UTF-8 would
    // cost more than the split. Each archive site asks for the lines of the same wrapped memo.
    thread_local LastLongTextOf<QStringList> last;
    if (const QStringList* answer = last.find(text))
        return *answer;
    QStringList lines;
    qsizetype start = 0;
    const qsizetype size = text.size();
    const char16_t* d = reinterpret_cast<const char16_t*>(text.constData());
    for (qsizetype i = 0; i < size; ++i) {
        if (d[i] >= 0x20)
            continue; // most of the text: no break can be here
        const char16_t c = d[i];
        if (c != u'\r' && c != u'\n')
            continue;
        lines.append(text.mid(start, i - start));
        if (c == u'\r' && i + 1 < size && d[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < size)
        lines.append(text.mid(start));
    last.keep(text, 0, lines);
    return lines;
}
