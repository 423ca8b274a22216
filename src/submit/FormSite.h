#pragma once

#include "submit/FormRecipe.h"

struct SiteVisit;

// Performs a table recipe: the HTTP steps around the body its fields give.
void postFormRecipe(const FormRecipe& recipe, SiteVisit& visit);
