#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The list files of names (data/apps.dat, data/companies.dat), one name a line.

// True when list holds name, compared without regard to case.
bool containsName(const QStringList& list, const QString& name);

// Appends name to the list file at path unless the list already holds it in any case, and writes
// the list back whole; the list as written, or nothing when it held the name. The stored file is
// the list whenever it can be read, so names never loaded anywhere are never lost; without a file,
// known is the list. Raises ECreateError when the file cannot be written.
std::optional<QStringList> addToNameFile(const QString& path, const QString& name, const QStringList& known = {});
