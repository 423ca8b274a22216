#pragma once

#include "submit/ArchiveFiles.h"

#include <QString>

class RunWindow;
struct SiteVisit;

// The file archives' recipes: simtel and winsite (their generated files, zip archive, uploads and
// simtel's announcement) and papa (description file, archive, two uploads into "incoming").
namespace ArchiveSites {

void simtel(SiteVisit& visit);
void winsite(SiteVisit& visit);
void papa(SiteVisit& visit);

// The first two stages simtel and papa share: the description file in
// the simtel layout written and logged ("<log name>: Saved <path>"), the zip archive made as the
// site's rule says and logged ("<log name>: Zipped files\<name>.zip"). label: the site's current
// site text, followed by "  (Generating Text File)" and "  (Creating Zip File)". The FTP lamp is
// lit, the HTTP lamp dark, the mail lamp as mailLamp says.
// libraryDir: where the zip libraries are (empty: the executable's library path). False when the
// archive could not be made: the site has failed with the zip component's message.
bool describeAndZip(RunWindow& window, const QString& label, const QString& logName, bool mailLamp,
    ZipAction (*rule)(const QString& localpath, bool archiveExists), const QString& libraryDir = {});

// The control names the recipes read or show.
QStringList controlNames();

} // namespace ArchiveSites
