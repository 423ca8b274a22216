#pragma once

#include "pad/PadRules.h"

#include <QByteArray>
#include <QStringList>

// A PAD 4.0 file (UTF-8) of a program record and its company: every element of the format in
// its order, filled from the controls the rules name, empty where the record holds nothing.
struct PadExport
{
    QByteArray xml;
    QStringList leftOut; // values the format's elements cannot take, and why

    static PadExport from(const ListingValues& values);
};
