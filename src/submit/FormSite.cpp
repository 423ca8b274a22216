#include "submit/FormSite.h"

#include "submit/FormBody.h"
#include "submit/HttpPost.h"
#include "submit/RecipeBook.h"
#include "submit/RunWindow.h"

void postFormRecipe(const FormRecipe& recipe, SiteVisit& visit)
{
    RunWindow& w = visit.window;
    HttpPost step(w, visit.channels.http, recipe.texts, visit.endpoints);
    step.open();

    const BodyContext context{w, visit.endpoints, visit.byteSize, {}, recipe.encoding};
    const FormBody builder(context);
    const std::optional<QString> path = builder.value(recipe.script);
    if (!path) {
        // The script depends on a pick-list text that names no page of the site. Posting anyway
        // would send the body to whatever address the client held from the previous site.
        QString shown;
        for (const ValuePart& part : recipe.script) {
            if (part.source == ValueSource::Mapped)
                shown = builder.shown(*part.mapping);
        }
        step.logError(QStringLiteral("No form page for the category \"%1\"").arg(shown));
        return;
    }
    clearUpdateIfNew(recipe, visit);
    const QString url = visit.endpoints.scriptUrl(*path);
    const QString body = builder.build(recipe.fields);
    if (recipe.query) {
        step.target(url + body);
        step.send(QString(), HttpChannel::Method::Get);
    } else {
        step.target(url);
        step.send(body, HttpChannel::Method::Post);
    }
}

void clearUpdateIfNew(const FormRecipe& recipe, SiteVisit& visit)
{
    // The site's update box, also where the new listing is an entry of its own without one.
    const SiteEntry& e = visit.entry;
    const QString update = SiteCatalogue::updateBoxOf(e.siteKey);
    if (recipe.newClearsUpdate && !e.newBox.isEmpty() && !update.isEmpty() && visit.window.isChecked(e.newBox))
        visit.window.setChecked(update, false);
}
