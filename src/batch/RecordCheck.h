#pragma once

#include "pad/ListingCheck.h"

#include <QStringList>

#include <vector>

class RunWindow;
class UserSites;

// The listing check over the run's view of a record, window or not.
namespace RecordCheck {

// The controls the rules name, the sites' category controls and the mail settings, as they stand.
ListingValues values(const RunWindow& window);
// The check of the record with its settings, the tick boxes set and the sites of one's own.
std::vector<Finding> run(const RunWindow& window, const QStringList& ticked, const UserSites* own);
// Prints the findings to stderr, one a line, and their counts.
void printFindings(const std::vector<Finding>& findings);

} // namespace RecordCheck
