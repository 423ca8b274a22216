#pragma once

#include <QString>

// A file name no other file has: stem + extension, else stem + "-2" + extension, "-3" and so
// on. The name is taken by creating the file empty (O_EXCL), so two writers in the same second -
// two runs, or two captures of one run - never share one; the caller then writes over it. When
// the folder cannot be written, stem + extension comes back untaken and the caller's write fails
// as it would have.
QString takeFreeName(const QString& stem, const QString& extension);
