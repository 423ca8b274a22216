#pragma once

#include <QString>

// The files the archive sites generate for a program, all in basedir/files and named after the
// program's 8-character name.
struct ArchiveFiles
{
    QString folder;
    QString description; // name + ".txt"
    QString tmlForm; // name + ".tml"
    QString archive; // name + ".zip"

    // Raises QuilletError for a name that would reach outside the folder (a path separator, "."
    // or "..", a NUL): generated files are only ever written into basedir/files.
    static ArchiveFiles forProgram(const QString& basedir, const QString& char8name);
};

// How a site gets its zip archive.
enum class ZipAction {
    AddBoth, // add the program's file and the description file to the archive (made if missing)
    CopyThenAddDescription, // the program's archive copied, the description file added to the copy
    KeepExisting, // an archive is there already: upload it unchanged
};

// The program's file is itself a zip archive: its last four characters are exactly ".zip", so
// ".ZIP" does not count.
bool isZipName(const QString& localpath);

// simtel always builds the archive; papa builds it only when there is none yet; winsite builds it
// only when there is none, and then always with the program's file inside.
ZipAction simtelZipAction(const QString& localpath);
ZipAction papaZipAction(const QString& localpath, bool archiveExists);
ZipAction winsiteZipAction(bool archiveExists);
