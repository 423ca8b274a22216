#include "submit/FormRecipe.h"

std::vector<const FormRecipe*> allFormRecipes()
{
    std::vector<const FormRecipe*> all;
    for (const auto* group : {&directoryFormSites(), &secondGroupFormSites(), &pickListFormSites()}) {
        for (const FormRecipe& r : *group)
            all.push_back(&r);
    }
    return all;
}

const FormRecipe* findFormRecipe(const QString& entryId)
{
    for (const FormRecipe* r : allFormRecipes()) {
        if (entryId == QLatin1String(r->entry))
            return r;
    }
    return nullptr;
}

QStringList controlsUsedBy(const FormRecipe& r)
{
    QStringList names;
    auto add = [&names](const char* name) {
        const QString n = QString::fromUtf8(name);
        if (!names.contains(n))
            names.append(n);
    };
    auto addParts = [&](const std::vector<ValuePart>& parts) {
        for (const ValuePart& p : parts) {
            if (p.source == ValueSource::Control)
                add(p.arg);
            else if (p.source == ValueSource::Mapped)
                add(p.mapping->control);
        }
    };
    addParts(r.script);
    for (const FormField& f : r.fields) {
        addParts(f.value);
        if (f.whenTicked)
            add(f.whenTicked);
        if (f.mapping)
            add(f.mapping->control);
    }
    return names;
}
