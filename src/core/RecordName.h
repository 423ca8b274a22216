#pragma once

#include <QString>

// Record files are named after what the user typed. A name that would reach outside its folder
// (a path separator, "." or "..", a NUL) is never used as a file name, and neither is the name of
// the program or company list that shares the data folder ("apps", "companies"): a record written
// there would turn the list's lines into bogus names.
bool isSafeRecordName(const QString& name);

// folder + "/" + name + extension: the path a record of that name has (callers check the name first).
QString recordPath(const QString& folder, const QString& name, const QString& extension);
