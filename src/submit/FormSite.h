#pragma once

#include "submit/FormRecipe.h"

struct SiteVisit;

// Performs a table recipe: the HTTP steps around the body its fields give.
class FormSite
{
public:
    static void post(const FormRecipe& recipe, SiteVisit& visit);
};
