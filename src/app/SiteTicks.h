#pragma once

#include <QStringList>

class QWidget;

// Sets the Sites page's tick boxes so that exactly the given ones are set.
void tickOnly(QWidget& form, const QStringList& boxes);
