#pragma once

#include "submit/FormRecipe.h"
#include "submit/RecipeValue.h"

using BodyContext = ValueContext;

// The body builder of form recipes. Applies the body rule: each field as key "=" value "&" in
// table order, a field marked last without the "&", values exactly as the controls hold them
// (no escaping of any kind).
class FormBody : public ValueReader
{
public:
    explicit FormBody(const BodyContext& context);

    // The whole body of a field list.
    QString build(const std::vector<FormField>& fields) const;
};
