#include "submit/JsonWriter.h"

#include <QLocale>

#include <cmath>

namespace {

char hexDigit(unsigned n)
{
    return char(n < 10 ? '0' + n : 'a' + n - 10);
}

// A string as QJsonDocument writes one: quotes, backslashes and control characters escaped, the
// rest as UTF-8, and a surrogate without its pair as \u escape.
void appendString(QByteArray& out, const QString& text)
{
    out += '"';
    const char16_t* d = reinterpret_cast<const char16_t*>(text.constData());
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t c = d[i];
        if (c >= 0x20 && c < 0x80 && c != u'"' && c != u'\\') {
            out += char(c);
            continue;
        }
        if (c < 0x80) {
            out += '\\';
            switch (c) {
            case u'"':
                out += '"';
                break;
            case u'\\':
                out += '\\';
                break;
            case u'\b':
                out += 'b';
                break;
            case u'\f':
                out += 'f';
                break;
            case u'\n':
                out += 'n';
                break;
            case u'\r':
                out += 'r';
                break;
            case u'\t':
                out += 't';
                break;
            default:
                out += "u00";
                out += hexDigit(c >> 4);
                out += hexDigit(c & 0xf);
            }
            continue;
        }
        const bool paired = QChar::isHighSurrogate(c) && i + 1 < size && QChar::isLowSurrogate(d[i + 1]);
        if (QChar::isSurrogate(c) && !paired) {
            out += "\\u";
            for (int shift = 12; shift >= 0; shift -= 4)
                out += hexDigit((c >> shift) & 0xf);
            continue;
        }
        out += QStringView(d + i, paired ? 2 : 1).toUtf8();
        if (paired)
            ++i;
    }
    out += '"';
}

} // namespace

JsonWriter::JsonWriter()
{
    m_out.reserve(64 * 1024);
}

void JsonWriter::indent()
{
    m_out.append(4 * qsizetype(m_levels.size()), ' ');
}

void JsonWriter::element()
{
    if (m_keyed) {
        m_keyed = false;
        return;
    }
    if (m_levels.empty())
        return;
    Level& level = m_levels.back();
    if (level.count++ > 0)
        m_out += ",\n";
    indent();
}

void JsonWriter::open(char bracket, bool array)
{
    element();
    m_out += bracket;
    m_out += '\n';
    m_levels.push_back({array, 0});
}

void JsonWriter::close(char bracket)
{
    if (m_levels.back().count > 0)
        m_out += '\n';
    m_levels.pop_back();
    indent();
    m_out += bracket;
}

void JsonWriter::beginObject()
{
    open('{', false);
}

void JsonWriter::endObject()
{
    close('}');
}

void JsonWriter::beginArray()
{
    open('[', true);
}

void JsonWriter::endArray()
{
    close(']');
}

void JsonWriter::key(QLatin1StringView name)
{
    element();
    appendString(m_out, QString(name));
    m_out += ": ";
    m_keyed = true;
}

void JsonWriter::value(const QString& text)
{
    element();
    appendString(m_out, text);
}

void JsonWriter::value(double number)
{
    element();
    // A whole number is written as one, as QJsonValue keeps it; others in their shortest form.
    if (!std::isfinite(number))
        m_out += "null";
    else if (std::trunc(number) == number && std::abs(number) < 9223372036854775808.0)
        m_out += QByteArray::number(qint64(number));
    else
        m_out += QByteArray::number(number, 'g', QLocale::FloatingPointShortest);
}

void JsonWriter::value(bool flag)
{
    element();
    m_out += flag ? "true" : "false";
}

void JsonWriter::strings(const QStringList& list)
{
    beginArray();
    for (const QString& text : list)
        value(text);
    endArray();
}

QByteArray JsonWriter::take()
{
    m_out += '\n';
    return std::exchange(m_out, QByteArray());
}
