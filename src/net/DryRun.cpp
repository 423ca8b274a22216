#include "net/DryRun.h"

#include <QDir>
#include <QFile>
#include <QHash>

namespace {

struct State
{
    QString folder;
    QHash<QString, int> counters;
    QStringList written;
};

State& state()
{
    static State s;
    return s;
}

} // namespace

namespace DryRun {

bool active()
{
    return !state().folder.isEmpty();
}

QString folder()
{
    return state().folder;
}

void setFolder(const QString& folder)
{
    state().folder = folder;
    state().counters.clear();
    state().written.clear();
}

bool saveNumbered(const QString& kind, const QString& extension, const QByteArray& data, QString* error)
{
    const QString dir = state().folder + QLatin1Char('/') + kind;
    if (!QDir().mkpath(dir)) {
        *error = QStringLiteral("Cannot create the folder %1").arg(dir);
        return false;
    }
    const int number = ++state().counters[kind];
    QFile file(dir + QStringLiteral("/%1.").arg(number, 4, 10, QLatin1Char('0')) + extension);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(data) != data.size()) {
        *error = QStringLiteral("Cannot write %1").arg(file.fileName());
        return false;
    }
    noteWritten(file.fileName());
    return true;
}

void noteWritten(const QString& path)
{
    state().written.append(QDir(state().folder).relativeFilePath(path));
}

const QStringList& written()
{
    return state().written;
}

} // namespace DryRun
