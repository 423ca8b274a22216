#pragma once

#include "pad/ListingCheck.h"
#include "pad/PadImport.h"

#include <functional>
#include <optional>
#include <vector>

class TForm1;

// The PAD import, the export and the listing check over the main window's controls, shared by
// the command line and the window's menu: records are loaded, set and saved through the window,
// exactly as a user's edits would be.
namespace PadRecords {

// The controls the rules name, the sites' category controls and the mail settings, as they stand.
ListingValues windowValues(TForm1& form);
// The check of the record the window holds, with its settings, tick boxes and catalogue.
std::vector<Finding> checkWindow(TForm1& form);
// Per site category control, the items of its list in the base folder's cat/.
QHash<QString, QStringList> categoryLists(const QString& basedir);
// A PAD file from disk, or by http or https; nothing (and error says why) when it cannot be had.
std::optional<QByteArray> readSource(const QString& source, const QString& basedir, QString* error);

enum class Stored { Created, Updated, Declined, Failed };
// Loads the program the import names into the window (and its company), asks mayUpdate with the
// existing record's name and the fields that would change when a record exists and would change,
// then sets the fields the import fills and saves as "Save App Data" does.
Stored storeImport(TForm1& form, const PadImport& imported,
    const std::function<bool(const QString& name, const QStringList& changed)>& mayUpdate);
// What was filled and left out, one line each, after a headline.
QStringList summary(const PadImport& imported, Stored stored, const QString& source, const QString& padVersion);

} // namespace PadRecords
