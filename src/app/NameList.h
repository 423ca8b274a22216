#pragma once

#include "batch/NameFile.h"

#include <QString>

class QComboBox;

// Adds name to the list file at path as addToNameFile does, the drop-down list's items standing
// for a missing file; a list written is then shown as the items of box (its text unchanged).
void addToNameList(const QString& path, QComboBox* box, const QString& name);
