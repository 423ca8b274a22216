#include "app/NameList.h"

#include "app/ComboItems.h"
#include "core/LineFile.h"

#include <QComboBox>

QStringList storedNames(const QString& path, const QComboBox* box)
{
    if (auto lines = readLineFile(path))
        return *lines;
    return box ? comboItems(box) : QStringList();
}

bool containsName(const QStringList& list, const QString& name)
{
    return list.contains(name, Qt::CaseInsensitive);
}

void addToNameList(const QString& path, QComboBox* box, const QString& name)
{
    QStringList names = storedNames(path, box);
    if (containsName(names, name))
        return;
    names.append(name);
    writeLineFile(path, names);
    if (box)
        replaceComboItems(box, names);
}
