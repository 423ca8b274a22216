#pragma once

#include "submit/Channels.h"
#include "submit/SiteCatalogue.h"

#include <QStringList>

#include <functional>
#include <vector>

class RunWindow;

// One ticked catalogue entry as the run hands it to its recipe.
struct SiteVisit
{
    RunWindow& window;
    Channels& channels;
    const SiteEntry& entry;
    SiteEndpoints endpoints;
    int byteSize; // the byte size checked at the start of the run
    // Set by a recipe that ends the run where it stands: no later site, no completion message.
    bool endsRun = false;
};

// Raised by a shared step that has logged and reported why the site's steps cannot go on (a mail
// that was not sent). The run goes on with the next entry; when the user pressed Cancel, it ends
// as a cancel test would end it.
struct SiteStepsEnded
{
    bool cancelled = false;
};

using Recipe = std::function<void(SiteVisit&)>;

// Which recipe performs which catalogue entry, read once when the catalogue builds its rows. Table
// recipes (FormRecipe, MailRecipe) come from their group files; a site with logic of its own adds
// its function to the code recipes in RecipeBook.cpp.
namespace RecipeBook {

// The recipe of a catalogue entry id, or an empty function.
Recipe find(const QString& entryId);

// A row of the walk with the recipe that performs it (empty: the entry is walked and does nothing)
// and the catalogue endpoints that recipe sends to (EndpointUse flags): a row whose endpoints are
// still placeholders is not set up and sends nothing.
struct Row
{
    const SiteEntry& entry;
    Recipe recipe;
    unsigned uses = 0;
};
// SiteCatalogue::entries(), in the same order, each with its recipe, looked up once.
const std::vector<Row>& rows();
// The endpoints every row of a site uses together (EndpointUse flags).
unsigned endpointUses(const QString& siteKey);
// Every control name the recipes and the catalogue's tick boxes use.
QStringList controlNames();

} // namespace RecipeBook
