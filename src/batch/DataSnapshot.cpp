#include "batch/DataSnapshot.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

DataSnapshot DataSnapshot::take(const QString& folder)
{
    DataSnapshot snapshot{folder, {}};
    for (const QFileInfo& info : QDir(folder).entryInfoList(QDir::Files)) {
        QFile file(info.absoluteFilePath());
        if (file.open(QIODevice::ReadOnly))
            snapshot.files.insert(info.fileName(), file.readAll());
    }
    return snapshot;
}

void DataSnapshot::restore() const
{
    for (const QFileInfo& info : QDir(folder).entryInfoList(QDir::Files)) {
        const auto kept = files.constFind(info.fileName());
        QFile file(info.absoluteFilePath());
        if (kept == files.constEnd()) {
            file.remove();
            continue;
        }
        if (file.open(QIODevice::ReadOnly) && file.readAll() == *kept)
            continue;
        file.close();
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            file.write(*kept);
    }
    for (auto it = files.constBegin(); it != files.constEnd(); ++it) {
        QFile file(folder + QLatin1Char('/') + it.key());
        if (!file.exists() && file.open(QIODevice::WriteOnly))
            file.write(it.value());
    }
}
