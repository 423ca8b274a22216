#pragma once

#include "pad/PadDocument.h"
#include "pad/PadRules.h"

#include <QStringList>

// What a PAD file gives the record: the values of the controls it fills, and in words what was
// filled and what was left out and why. A field the file holds nothing for is not in values: an
// existing record keeps it as it is.
struct PadImport
{
    ListingValues values;
    QStringList filled; // "Version (Program_Version)"
    QStringList leftOut; // "Short Description (Char_Desc_45): 61 characters (...), the field takes 46"

    // categoryLists: per site category control, the items of its list. A PAD category (class or
    // specific category) that is an item of a list fills that control.
    static PadImport from(const PadDocument& pad, const QHash<QString, QStringList>& categoryLists = {});
};
