#pragma once

#include "core/TextEncoding.h"
#include "submit/FormRecipe.h"
#include "submit/RecipeValue.h"

#include <functional>

using BodyContext = ValueContext;

// The body builder of form recipes: each field as key "=" value "&" in table order, a field
// marked last without the "&". Every name and value is form-encoded in the record's encoding (or
// UTF-8 where that cannot hold the body's text), so a value holding "&" or "=" stays one value.
class FormBody : public ValueReader
{
public:
    explicit FormBody(const BodyContext& context);

    // The whole body of a field list.
    QString build(const std::vector<FormField>& fields) const;

private:
    using Encode = std::function<QString(const QString& text, bool pairs)>;
    QString assemble(const std::vector<FormField>& fields, const Encode& encode) const;
};
