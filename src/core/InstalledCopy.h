#pragma once

#include <QString>

// An installed copy of the program (bin/quillet under a prefix) keeps what ships with it in
// share/quillet under the same prefix. Returns that folder, or an empty text when the program
// runs from its build folder. Works before there is an application object.
QString installedDataFolder();
