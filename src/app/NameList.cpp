#include "app/NameList.h"

#include "app/ComboItems.h"

#include <QComboBox>

void addToNameList(const QString& path, QComboBox* box, const QString& name)
{
    if (const auto names = addToNameFile(path, name, comboItems(box)))
        replaceComboItems(box, *names);
}
