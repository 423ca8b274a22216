#pragma once

#include <QStringList>

class QWidget;

// Every site tick box of the window: the catalogue's, then those of the sites of one's own.
QStringList siteTickBoxes(const QWidget& form);
// Sets the Sites page's tick boxes so that exactly the given ones are set.
void tickOnly(QWidget& form, const QStringList& boxes);
