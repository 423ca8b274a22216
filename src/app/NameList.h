#pragma once

#include <QString>
#include <QStringList>

class QComboBox;

// The names of a list file (programs or companies). The stored file is the list whenever it can be
// read, so names that were never loaded into the drop-down list are never lost; without a file the
// items the drop-down list already has (if one is given) are the list.
QStringList storedNames(const QString& path, const QComboBox* box);

// True when list holds name, compared without regard to case.
bool containsName(const QStringList& list, const QString& name);

// Appends name to the list file at path unless the list already holds it in any case; the list
// is then written back whole and shown as the items of box, if one is given (its text unchanged).
// Raises ECreateError when the file cannot be written.
void addToNameList(const QString& path, QComboBox* box, const QString& name);
