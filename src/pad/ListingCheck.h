#pragma once

#include "pad/PadRules.h"
#include "submit/SiteCatalogue.h"
#include "submit/UserSites.h"

#include <QStringList>

#include <optional>
#include <vector>

// What the listing check finds in one field, for all sites or for one.
struct Finding
{
    enum class Severity { Warning, Error };
    Severity severity;
    QString field; // control name; empty for a setting of the whole run
    QString site; // site key where the finding concerns one ticked site
    QString message;

    QString text() const;
};

// The program file as the disk has it.
struct ProgramFile
{
    bool exists = false;
    bool readable = false;
    qint64 size = 0;
};

struct ListingInput
{
    ListingValues values; // every control of the record and the settings (smtpedit, emailedit)
    QStringList ticked; // the tick boxes that are set
    const SiteCatalogue* catalogue = nullptr; // the sites' endpoints; built-in ones when null
    const UserSites* userSites = nullptr; // the sites of one's own; none when null
    std::optional<ProgramFile> programFile; // localpath as found; nothing when it was not looked at
};

// Checks a listing before anything is sent: each field's rule, the program file, the settings
// the ticked sites need, and each ticked site's own needs. A pure function of its input.
namespace ListingCheck {

std::vector<Finding> run(const ListingInput& input);
bool hasErrors(const std::vector<Finding>& findings);

} // namespace ListingCheck
