#pragma once

#include <QByteArray>
#include <QString>

// Writes bytes to a temporary file beside path, syncs it and renames it into place, so the file is
// either the old one or the whole new one. The temporary file's name is short and fixed in length
// (".quillet-" and a random part), so a long file name that fits the file system can always be
// written. A file or folder without its write permission is refused, whoever runs the program; an
// existing file's permissions are kept. Returns false on any failure, leaving the previous file as
// it was.
bool writeFileWhole(const QString& path, const QByteArray& content);

// As writeFileWhole, but a file that holds exactly these bytes already is left as it is (refused
// as writeFileWhole would refuse it): a save that changes nothing costs no sync. A record is saved
// on every Submit, and mostly unchanged.
bool writeFileWholeIfChanged(const QString& path, const QByteArray& content);
