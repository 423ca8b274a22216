#include "submit/FormRecipe.h"

namespace {

QString given(const char* text, const QString& common)
{
    return text ? QString::fromUtf8(text) : common;
}

} // namespace

QString HttpTexts::labelText() const
{
    return QString::fromUtf8(label);
}

QString HttpTexts::preparingText() const
{
    return given(preparing, QStringLiteral("Preparing to Post to ") + labelText());
}

QString HttpTexts::postingText() const
{
    return given(posting, QStringLiteral("Posting to ") + labelText());
}

QString HttpTexts::postedText() const
{
    return given(posted, QStringLiteral("Posted to ") + labelText());
}

QString HttpTexts::redirectedText() const
{
    return given(redirected, QStringLiteral("Posted to ") + labelText());
}

QString HttpTexts::completedLogText() const
{
    return given(completedLog, labelText() + QStringLiteral(": Completed HTTP Post"));
}

QString HttpTexts::redirectedLogText() const
{
    return given(redirectedLog, labelText() + QStringLiteral(": Completed HTTP Post"));
}

QString HttpTexts::errorLogText() const
{
    return given(errorLog, labelText() + QStringLiteral(": Error Posting - "));
}

std::vector<const FormRecipe*> allFormRecipes()
{
    std::vector<const FormRecipe*> all;
    for (const auto* group : {&directoryFormSites(), &plainFormSites(), &pickListFormSites(), &queryFormSites()}) {
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
    ValueReader::addControlNames(r.script, names);
    for (const FormField& f : r.fields) {
        ValueReader::addControlNames(f.value, names);
        for (const char* name : {f.whenTicked, f.mapping ? f.mapping->control : nullptr}) {
            if (name && !names.contains(QString::fromUtf8(name)))
                names.append(QString::fromUtf8(name));
        }
    }
    return names;
}
