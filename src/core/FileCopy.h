#pragma once

#include <QString>

// Copies the file from to a new file to (which must not exist yet) with the same permissions, in
// blocks of BlockSize: a program's archive of hundreds of megabytes takes a few hundred reads and
// writes, not a few hundred thousand. False, with nothing left at to, when it cannot.
bool copyFileInBlocks(const QString& from, const QString& to);

constexpr qint64 FileCopyBlockSize = 1 << 20;
