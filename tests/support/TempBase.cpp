#include "support/TempBase.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

TempBase::TempBase()
{
    QDir dir(m_dir.path());
    for (const char* sub : {"cat", "data", "files", "responses"})
        dir.mkpath(QString::fromLatin1(sub));
}

QByteArray TempBase::read(const QString& relative) const
{
    QFile f(file(relative));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void TempBase::write(const QString& relative, const QByteArray& content) const
{
    const QString path = file(relative);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(content);
}
