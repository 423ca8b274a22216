#pragma once

#include <QString>

class RunWindow;
struct SiteEndpoints;

// File Mine takes a new listing as one GET request whose address carries every field, form-encoded
// like a posted body (queryFormSites() in FormRecipe.h holds its table).
namespace FileMineSite {

// The request address for the window's record.
QString address(const RunWindow& window, const SiteEndpoints& endpoints, int byteSize);

} // namespace FileMineSite
