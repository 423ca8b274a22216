#include "core/RecordName.h"

bool isSafeRecordName(const QString& name)
{
    for (const char* refused : {".", "..", "apps", "companies"}) {
        if (name == QLatin1String(refused))
            return false;
    }
    return !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\')) && !name.contains(QChar(0));
}

QString recordPath(const QString& folder, const QString& name, const QString& extension)
{
    return folder + QLatin1Char('/') + name + extension;
}
