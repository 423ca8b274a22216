#include "submit/Win95Site.h"

#include "submit/FormSite.h"
#include "submit/HttpPost.h"
#include "submit/RecipeBook.h"
#include "submit/RunWindow.h"

void postWin95(SiteVisit& visit)
{
    const FormRecipe& recipe = *findFormRecipe(QStringLiteral("win95"));
    if (visit.window.text(QStringLiteral("platforms")) != QLatin1String("Windows 3.x")) {
        postFormRecipe(recipe, visit);
        return;
    }
    // What happens before the rule is met stays done: the opening, and the new listing's clearing
    // of the update box. Lamps and labels are left as they stand.
    HttpPost(visit.window, visit.channels.http, recipe.texts, visit.endpoints).open();
    clearUpdateIfNew(recipe, visit);
    visit.endsRun = true;
}
