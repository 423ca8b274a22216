#include "submit/PreviewFolder.h"

#include <QDir>
#include <QFile>

PreviewFolder::PreviewFolder(const QString& folder)
    : m_folder(folder)
{
}

bool PreviewFolder::saveNumbered(const QString& kind, const QString& extension, const QByteArray& data, QString* error)
{
    const QString dir = m_folder + QLatin1Char('/') + kind;
    if (!QDir().mkpath(dir)) {
        *error = QStringLiteral("Cannot create the folder %1").arg(dir);
        return false;
    }
    const int number = ++m_counters[kind];
    QFile file(dir + QStringLiteral("/%1.").arg(number, 4, 10, QLatin1Char('0')) + extension);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(data) != data.size()) {
        *error = QStringLiteral("Cannot write %1").arg(file.fileName());
        return false;
    }
    noteWritten(file.fileName());
    return true;
}

void PreviewFolder::noteWritten(const QString& path)
{
    m_written.append(QDir(m_folder).relativeFilePath(path));
}
