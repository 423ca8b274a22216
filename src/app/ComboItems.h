#pragma once

#include <QStringList>

class QComboBox;

// Replaces the items of an editable drop-down list without touching the text it shows and without
// emitting any of its change signals (Qt would otherwise pick the first new item as the text).
void replaceComboItems(QComboBox* box, const QStringList& items);

// Makes the item that shows exactly the text of an editable drop-down list its current item, when
// there is one. Qt activates that item when the box is left or Enter is pressed, unless it is
// current already; keeping it current makes leaving the box no pick at all, so a pick handler runs
// only when the user really picks an item.
void selectMatchingItem(QComboBox* box);

// The items of a drop-down list, in order.
QStringList comboItems(const QComboBox* box);
