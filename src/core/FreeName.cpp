#include "core/FreeName.h"

#include <QFile>

QString takeFreeName(const QString& stem, const QString& extension)
{
    constexpr int MaxTries = 10000;
    for (int n = 1; n <= MaxTries; ++n) {
        const QString path = stem + (n == 1 ? QString() : QLatin1Char('-') + QString::number(n)) + extension;
        QFile file(path);
        if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            return path;
        if (!file.exists())
            break;
    }
    return stem + extension;
}
