#pragma once

#include "submit/RecipeValue.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// A site's web form written as data: the fields in order, each a key and where its value comes
// from. One builder (FormBody) turns a field list into the request body by the body rule, and one
// step (postFormRecipe) performs the post with the site's texts.

struct FormField
{
    const char* key;
    std::vector<ValuePart> value;
    bool last = false; // appended without the "&" that follows every other field
    const char* whenTicked = nullptr; // appended only while this tick box is set
    const Mapping* mapping = nullptr; // appended once per row that matches, with the row's value
    bool literal = false; // value appended as it stands: it already holds key, "=" and "&"
};

// The texts a site shows and logs around its post. Most sites use the common texts made from
// their label ("Preparing to Post to " + label …); a text given here replaces the common one.
// "{label}" and "{short}" stand for the catalogue's label and short name of the site, for sites
// whose label is their domain name.
struct HttpTexts
{
    const char* label; // shown in currentsite
    const char* preparing = nullptr;
    const char* posting = nullptr;
    const char* posted = nullptr;
    const char* redirected = nullptr;
    const char* completedLog = nullptr;
    const char* redirectedLog = nullptr;
    const char* errorLog = nullptr; // followed by the error's message
    bool debugEcho = false; // debug mode shows the body in the String View window

    QString labelText() const;
    QString preparingText() const;
    QString postingText() const;
    QString postedText() const;
    QString redirectedText() const;
    QString completedLogText() const;
    QString redirectedLogText() const;
    QString errorLogText() const;
};

struct FormRecipe
{
    const char* entry; // catalogue entry id
    std::vector<ValuePart> script; // path (and query) appended to the site's host
    HttpTexts texts;
    bool newClearsUpdate = false; // a set new box clears the update box before the body is built
    std::vector<FormField> fields;
    bool query = false; // the body goes as the address's query, by GET, instead of being posted
    std::optional<TextEncoding> encoding = {}; // the body's encoding; the record's when none
};

// Building blocks of the form tables (the value parts are in RecipeValue.h).
namespace recipe {

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
// Parts appended as they stand, such as a mapping whose values hold keys, "=" and "&".
inline FormField literal(std::vector<ValuePart> value)
{
    return {"", std::move(value), false, nullptr, nullptr, true};
}

} // namespace recipe

// The table recipes, one source file per kind of form.
const std::vector<FormRecipe>& directoryFormSites();
const std::vector<FormRecipe>& plainFormSites();
const std::vector<FormRecipe>& pickListFormSites();
const std::vector<FormRecipe>& queryFormSites();

// Every table recipe of every group.
std::vector<const FormRecipe*> allFormRecipes();
// The table recipe of a catalogue entry id, or nullptr.
const FormRecipe* findFormRecipe(const QString& entryId);

// Every control name a recipe reads or changes.
QStringList controlsUsedBy(const FormRecipe& r);
