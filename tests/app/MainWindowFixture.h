#pragma once
// The window fixture is FormOnBase.h now; kept until the branches written against this name are merged.
#include "FormOnBase.h"
