#pragma once

#include <QString>
#include <QTemporaryDir>

// A fresh base folder with the program's cat, data, files and responses folders.
class TempBase
{
public:
    TempBase();

    QString path() const { return m_dir.path(); }
    QString file(const QString& relative) const { return m_dir.path() + QLatin1Char('/') + relative; }

    QByteArray read(const QString& relative) const;
    void write(const QString& relative, const QByteArray& content) const;

private:
    QTemporaryDir m_dir;
};
