#pragma once
// Moved to support/; kept until the branches written against util/ are merged.
#include "support/FakeDialogs.h"
