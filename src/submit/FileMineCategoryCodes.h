#pragma once

#include "submit/RecipeValue.h"

// The number File Mine files a listing under, for each text of its category pick list
// (fileminepd): section, " - ", item, exactly. Several texts share one number.
const Mapping& fileMineCategories();
