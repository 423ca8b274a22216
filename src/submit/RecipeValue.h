#pragma once

#include "core/TextEncoding.h"
#include "submit/SiteCatalogue.h"

#include <QString>
#include <QStringList>
#include <QTime>

#include <optional>
#include <vector>

// The value pieces every recipe table is written with, whatever its channel: a value is a list
// of parts joined in order, each a fixed text, a control's text, a catalogue value of the site,
// the size in KB, the time now, or a pick-list text mapped to the site's own value.

class RunWindow;
struct Mapping;

// Where one piece of a value comes from.
enum class ValueSource {
    Text, // a fixed text
    Control, // the text of a window control, as it stands
    SizeKB, // the byte size divided by 1024, truncated toward zero
    TimeNow, // the current time of day in the system's long time format
    Mailbox, // catalogue values of the site
    Mailbox2,
    Page,
    Mapped, // the value of the first row of a mapping whose text equals its control's text
};

struct ValuePart
{
    ValueSource source;
    const char* arg = ""; // the text, or the control's name
    const Mapping* mapping = nullptr; // for Mapped
};

// A pick-list text turned into the site's own value. Texts compare exactly, case-sensitively; a
// row without a text takes every text no row before it took.
struct MappingRow
{
    const char* text;
    const char* value;

    // Whether the row takes shown, given whether a row before it already did.
    bool takes(const QString& shown, bool takenBefore) const
    {
        return text ? shown == QString::fromUtf8(text) : !takenBefore;
    }
};

struct Mapping
{
    const char* control;
    std::vector<MappingRow> rows;
    bool passUnmatched = false; // a text no row takes is the value itself (sites of one's own)
};

// Building blocks of the recipe tables.
namespace recipe {

inline ValuePart text(const char* t)
{
    return {ValueSource::Text, t};
}
inline ValuePart control(const char* name)
{
    return {ValueSource::Control, name};
}
inline ValuePart sizeKB()
{
    return {ValueSource::SizeKB};
}
inline ValuePart timeNow()
{
    return {ValueSource::TimeNow};
}
inline ValuePart mailbox()
{
    return {ValueSource::Mailbox};
}
inline ValuePart mailbox2()
{
    return {ValueSource::Mailbox2};
}
inline ValuePart page()
{
    return {ValueSource::Page};
}
inline ValuePart mapped(const Mapping& m)
{
    return {ValueSource::Mapped, "", &m};
}

} // namespace recipe

// What a recipe's values are read from.
struct ValueContext
{
    const RunWindow& window;
    SiteEndpoints endpoints;
    int byteSize = 0; // the byte size as checked at the start of the run
    QTime now; // time of day for TimeNow; the current time when invalid
    std::optional<TextEncoding> encoding = {}; // the form's own encoding; the record's when none
};

// The one interpreter of value parts. Values are exactly what the controls hold: no escaping.
class ValueReader
{
public:
    explicit ValueReader(const ValueContext& context);

    // The pieces of a value joined in order; nothing when a Mapped piece matches no row.
    std::optional<QString> value(const std::vector<ValuePart>& parts) const;
    // The text the mapping's control shows.
    QString shown(const Mapping& mapping) const;

    static QString sizeInKB(int byteSize);
    static QString longTime(const QTime& time);
    // A locale's long time format without its time-zone part.
    static QString withoutTimeZone(const QString& format);

    // Adds the control names the parts read to names, each once.
    static void addControlNames(const std::vector<ValuePart>& parts, QStringList& names);

protected:
    const ValueContext& m_context;

private:
    QString piece(const ValuePart& part, bool* matched) const;
};
