#include "submit/RecipeValue.h"

#include "submit/RunWindow.h"

#include <QLocale>

ValueReader::ValueReader(const ValueContext& context)
    : m_context(context)
{
}

QString ValueReader::sizeInKB(int byteSize)
{
    // Integer division truncates toward zero, as the sites have always been sent.
    return QString::number(byteSize / 1024);
}

QString ValueReader::withoutTimeZone(const QString& format)
{
    // The sites were written for a long time format like "h:mm:ss AM", which names no time zone;
    // Qt's long formats end with one ("t"). Text in quotes is literal and stays.
    QString out;
    bool quoted = false;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format.at(i);
        if (c == QLatin1Char('\''))
            quoted = !quoted;
        if (quoted || c != QLatin1Char('t')) {
            out += c;
            continue;
        }
        while (!out.isEmpty() && out.back().isSpace())
            out.chop(1);
        while (i + 1 < format.size() && (format.at(i + 1) == QLatin1Char('t') || format.at(i + 1).isSpace()))
            ++i;
        if (!out.isEmpty() && i + 1 < format.size())
            out += QLatin1Char(' ');
    }
    return out;
}

QString ValueReader::longTime(const QTime& time)
{
    const QLocale locale = QLocale::system();
    return locale.toString(time, withoutTimeZone(locale.timeFormat(QLocale::LongFormat)));
}

QString ValueReader::piece(const ValuePart& part, bool* matched) const
{
    switch (part.source) {
    case ValueSource::Text:
        return QString::fromUtf8(part.arg);
    case ValueSource::Control:
        return m_context.window.text(QString::fromUtf8(part.arg));
    case ValueSource::SizeKB:
        return sizeInKB(m_context.byteSize);
    case ValueSource::TimeNow:
        return longTime(m_context.now.isValid() ? m_context.now : QTime::currentTime());
    case ValueSource::Mailbox:
        return m_context.endpoints.mailbox;
    case ValueSource::Mailbox2:
        return m_context.endpoints.mailbox2;
    case ValueSource::Page:
        return m_context.endpoints.page;
    case ValueSource::Mapped: {
        const QString text = shown(*part.mapping);
        for (const MappingRow& row : part.mapping->rows) {
            if (row.takes(text, false))
                return QString::fromUtf8(row.value);
        }
        if (part.mapping->passUnmatched)
            return text;
        *matched = false;
        return {};
    }
    }
    return {};
}

std::optional<QString> ValueReader::value(const std::vector<ValuePart>& parts) const
{
    QString out;
    bool matched = true;
    for (const ValuePart& part : parts)
        out += piece(part, &matched);
    if (!matched)
        return std::nullopt;
    return out;
}

QString ValueReader::shown(const Mapping& mapping) const
{
    return m_context.window.text(QString::fromUtf8(mapping.control));
}

void ValueReader::addControlNames(const std::vector<ValuePart>& parts, QStringList& names)
{
    for (const ValuePart& p : parts) {
        QString name;
        if (p.source == ValueSource::Control)
            name = QString::fromUtf8(p.arg);
        else if (p.source == ValueSource::Mapped)
            name = QString::fromUtf8(p.mapping->control);
        if (!name.isEmpty() && !names.contains(name))
            names.append(name);
    }
}
