#include "submit/RecipeBook.h"

#include "submit/ArchiveSites.h"
#include "submit/FormRecipe.h"
#include "submit/FormSite.h"
#include "submit/MailRecipe.h"
#include "submit/MailSteps.h"
#include "submit/TucowsSite.h"
#include "submit/Win95Site.h"

#include <QHash>

namespace {

// Sites whose recipe is code of its own rather than a table: entry id -> function.
const QHash<QString, Recipe>& codeRecipes()
{
    static const QHash<QString, Recipe> recipes{
        {QStringLiteral("tucows"), &submitTucows},
        {QStringLiteral("win95"), &postWin95},
        {QStringLiteral("simtel"), ArchiveSites::simtel},
        {QStringLiteral("winsite"), ArchiveSites::winsite},
        {QStringLiteral("papa"), ArchiveSites::papa},
    };
    return recipes;
}

} // namespace

Recipe RecipeBook::find(const QString& entryId)
{
    if (const auto it = codeRecipes().constFind(entryId); it != codeRecipes().constEnd())
        return it.value();
    if (const FormRecipe* r = findFormRecipe(entryId))
        return [r](SiteVisit& visit) { postFormRecipe(*r, visit); };
    for (const MailRecipe* r : allMailRecipes()) {
        if (entryId == QLatin1String(r->entry))
            return [r](SiteVisit& visit) { sendMailRecipe(*r, visit); };
    }
    return {};
}

const std::vector<RecipeBook::Row>& RecipeBook::rows()
{
    static const std::vector<Row> all = [] {
        std::vector<Row> list;
        for (const SiteEntry& entry : SiteCatalogue::entries())
            list.push_back({entry, find(entry.id)});
        return list;
    }();
    return all;
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
    for (const MailRecipe* r : allMailRecipes()) {
        for (const QString& n : controlsUsedBy(*r))
            add(n);
    }
    for (const QString& n : MailSteps::controlNames())
        add(n);
    for (const QString& n : ArchiveSites::controlNames())
        add(n);
    return names;
}
