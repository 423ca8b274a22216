#pragma once

#include "submit/FormRecipe.h"

struct SiteVisit;

// Performs a table recipe: the HTTP steps around the body its fields give.
void postFormRecipe(const FormRecipe& recipe, SiteVisit& visit);
// New clears update: a set new-listing box clears the site's update box, so only the new listing
// goes out.
void clearUpdateIfNew(const FormRecipe& recipe, SiteVisit& visit);
