#include "batch/NameFile.h"

#include "core/LineFile.h"

bool containsName(const QStringList& list, const QString& name)
{
    return list.contains(name, Qt::CaseInsensitive);
}

std::optional<QStringList> addToNameFile(const QString& path, const QString& name, const QStringList& known)
{
    QStringList names = readLineFile(path).value_or(known);
    if (containsName(names, name))
        return std::nullopt;
    names.append(name);
    writeLineFile(path, names);
    return names;
}
