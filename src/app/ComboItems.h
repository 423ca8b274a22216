#pragma once

#include <QStringList>

class QComboBox;

// Replaces the items of an editable drop-down list without touching the text it shows and without
// emitting any of its change signals (Qt would otherwise pick the first new item as the text).
void replaceComboItems(QComboBox* box, const QStringList& items);

// The items of a drop-down list, in order.
QStringList comboItems(const QComboBox* box);
