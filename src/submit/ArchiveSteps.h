#pragma once

#include "core/TextEncoding.h"
#include "submit/ArchiveFiles.h"
#include "submit/ArchiveTexts.h"

#include <QStringList>

class RunWindow;

// The steps the archive sites share: the archive texts of the listing, text files written, the
// zip archive made.
namespace ArchiveSteps {

// The archive texts of the listing the window holds, the reviewer notes and the long
// description wrapped at 72 columns.
ArchiveTexts textsOf(const RunWindow& window);

// Writes the lines (CR LF) to a temporary file beside path and renames it into place: the file is
// whole or not there. Raises ECreateError ("Cannot create file ...") when it cannot be written.
// The text is in the record's encoding when that can hold it (sites get the record's bytes).
void writeTextFile(const QString& path, const QStringList& lines, TextEncoding recordEncoding = TextEncoding::Utf8);

// Makes the archive as the action says, through a zip component set up as the main window's
// (level 9, no options) whose progress shows in genlabel. The archive is replaced only by a
// complete new one: a failed copy or add leaves what was there before. Zip failures are shown by
// the component's message boxes; nothing is raised for them. Returns why no archive was made
// (the component's message), empty when the archive is ready. libraryDir: where the zip
// libraries are (empty: the executable's library path).
QString makeArchive(RunWindow& window, ZipAction action, const ArchiveFiles& files, const QString& localpath,
    const QString& libraryDir = {});

} // namespace ArchiveSteps
