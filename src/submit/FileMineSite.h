#pragma once

#include <QString>
#include <QStringList>

class RunWindow;
struct SiteEndpoints;
struct SiteVisit;

// File Mine takes a new listing as one GET request whose address carries every field.
namespace FileMineSite {

// The request address: the fields in the site's order, then every space as "+" and every line
// break as %0D / %0A, so a multi-line field stays inside the request line.
QString address(const RunWindow& window, const SiteEndpoints& endpoints, int byteSize);
// Entry 12 of the walk: the new listing by GET.
void getNewListing(SiteVisit& visit);
// The controls the address is built from.
QStringList controlNames();

} // namespace FileMineSite
