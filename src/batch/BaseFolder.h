#pragma once

#include <QString>

// The base folder: the folder whose cat, data, files and responses sub-folders hold everything
// Quillet keeps.
namespace BaseFolder {

// A folder with neither cat nor data has never been used by Quillet.
bool isSetUp(const QString& base);
// Creates the four sub-folders and puts the category lists and site links that ship with Quillet
// into cat, keeping any file that is there already. Raises ECreateError with the path on failure.
void setUp(const QString& base);
// Where the category lists and site links that ship with Quillet are: share/quillet/cat of an
// installed copy, else the ones built into the program.
QString shippedFolder();
// The files of cat/ that ship with Quillet, by name.
QStringList shippedFiles();
// A start from the home folder (as a desktop launcher does) that finds no data there works in
// home/Quillet instead; any other folder is the base folder itself.
QString forStartIn(const QString& current, const QString& home);
// The question the window asks before setting a folder up.
QString setUpQuestion(const QString& base);

} // namespace BaseFolder
