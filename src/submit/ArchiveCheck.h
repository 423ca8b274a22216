#pragma once

#include <QString>

// Checks on the zip archives the archive sites upload from files/, so that a damaged archive is
// never sent and counted as sent.
namespace ArchiveCheck {

// Empty when path is a zip archive whose entry list reads whole, holds at least one entry and
// ends in an end-of-central-directory record; otherwise why it is not, naming the file.
QString problem(const QString& path);

// Removes what a killed run can leave in folder: a copied archive still being added to
// (".partial-NAME.zip") and the zip library's own temporary archive ("NAME.zip.XXXXXX").
void removeStaleTemporaries(const QString& folder);

} // namespace ArchiveCheck
