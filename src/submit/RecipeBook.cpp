#include "submit/RecipeBook.h"

#include "submit/FormRecipe.h"
#include "submit/FormSite.h"
#include "submit/MailRecipe.h"
#include "submit/MailSteps.h"

#include <QHash>

namespace {

// Sites whose recipe is code of its own rather than a table: entry id -> function.
// (The mail, FTP, archive and GET recipes join here.)
const QHash<QString, Recipe>& codeRecipes()
{
    static const QHash<QString, Recipe> recipes;
    return recipes;
}

} // namespace

Recipe RecipeBook::find(const QString& entryId)
{
    if (const auto it = codeRecipes().constFind(entryId); it != codeRecipes().constEnd())
        return it.value();
    for (const FormRecipe* r : allFormRecipes()) {
        if (entryId == QLatin1String(r->entry))
            return [r](SiteVisit& visit) { postFormRecipe(*r, visit); };
    }
    for (const MailRecipe& r : secondGroupMailSites()) {
        if (entryId == QLatin1String(r.entry))
            return [&r](SiteVisit& visit) { sendMailRecipe(r, visit); };
    }
    return {};
}

QStringList RecipeBook::controlNames()
{
    QStringList names;
    auto add = [&names](const QString& n) {
        if (!n.isEmpty() && !names.contains(n))
            names.append(n);
    };
    for (const SiteEntry& e : SiteCatalogue::entries()) {
        add(e.newBox);
        add(e.updateBox);
    }
    for (const FormRecipe* r : allFormRecipes()) {
        for (const QString& n : controlsUsedBy(*r))
            add(n);
    }
    for (const MailRecipe& r : secondGroupMailSites()) {
        for (const QString& n : controlsUsedBy(r))
            add(n);
    }
    for (const QString& n : MailSteps::controlNames())
        add(n);
    return names;
}
