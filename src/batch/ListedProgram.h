#pragma once

#include <QString>

// Why a name given on the command line is no program of the base folder, or an empty text when it
// is one: listed in data/apps.dat, with a record file of its own. A listed name that differs only in
// case is offered.
QString unlistedProgramMessage(const QString& basedir, const QString& program);
