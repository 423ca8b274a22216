#pragma once

#include <QString>
#include <QStringList>

#include <vector>

// A site's web form written as data: the fields in order, each a key and where its value comes
// from. One builder (FormBody) turns a field list into the request body by the body rule, and one
// step (postFormRecipe) performs the post with the site's texts.

struct Mapping;

// Where one piece of a value comes from. A value is the pieces joined in order.
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

// A pick-list text turned into the site's own value. Texts compare exactly, case-sensitively.
struct MappingRow
{
    const char* text;
    const char* value;
};

struct Mapping
{
    const char* control;
    std::vector<MappingRow> rows;
};

struct FormField
{
    const char* key;
    std::vector<ValuePart> value;
    bool last = false; // appended without the "&" that follows every other field
    const char* whenTicked = nullptr; // appended only while this tick box is set
    const Mapping* mapping = nullptr; // appended once per row that matches, with the row's value
    bool literal = false; // value appended as it stands: it already holds key, "=" and "&"
};

// The texts a site shows and logs around its post. "{label}" and "{short}" stand for the site's
// catalogue label and short name, for sites whose label is their domain name.
struct HttpTexts
{
    const char* label; // shown in currentsite
    const char* preparing;
    const char* posting;
    const char* posted;
    const char* redirected;
    const char* completedLog;
    const char* redirectedLog;
    const char* errorLog; // followed by the error's message
    bool debugEcho;
};

struct FormRecipe
{
    const char* entry; // catalogue entry id
    std::vector<ValuePart> script; // path (and query) appended to the site's host
    HttpTexts texts;
    bool newClearsUpdate; // a set new box clears the update box before the body is built
    std::vector<FormField> fields;
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

inline FormField field(const char* key, std::vector<ValuePart> value)
{
    return {key, std::move(value)};
}
inline FormField lastField(const char* key, std::vector<ValuePart> value)
{
    return {key, std::move(value), true};
}
inline FormField ticked(const char* box, const char* key, std::vector<ValuePart> value)
{
    return {key, std::move(value), false, box};
}
inline FormField mappedField(const char* key, const Mapping& m)
{
    return {key, {}, false, nullptr, &m};
}
inline FormField literal(const char* text)
{
    return {"", {recipe::text(text)}, false, nullptr, nullptr, true};
}

} // namespace recipe

// The table recipes, one source file per group of sites.
const std::vector<FormRecipe>& directoryFormSites();
const std::vector<FormRecipe>& secondGroupFormSites();
const std::vector<FormRecipe>& pickListFormSites();

// Every table recipe of every group.
std::vector<const FormRecipe*> allFormRecipes();
// The table recipe of a catalogue entry id, or nullptr.
const FormRecipe* findFormRecipe(const QString& entryId);

// Every control name a recipe reads or changes.
QStringList controlsUsedBy(const FormRecipe& r);
