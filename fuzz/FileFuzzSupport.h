// What the stored-file fuzz targets share: a folder of their own for the file under test.
#pragma once

#include "FuzzSupport.h"

#include <QDir>
#include <QFile>
#include <QString>

#include <unistd.h>

// A folder of this process's own, made once; removed by nobody (it holds one small file).
inline QString fuzzFolder()
{
    static const QString folder = [] {
        const QString path = QDir::tempPath() + QStringLiteral("/quillet-fuzz-") + QString::number(::getpid());
        if (!QDir().mkpath(path))
            fail("cannot make the fuzz folder");
        return path;
    }();
    return folder;
}

// Writes the input as the file at path.
inline void writeInput(const QString& path, const uint8_t* data, size_t size)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || file.write(reinterpret_cast<const char*>(data), qint64(size)) != qint64(size))
        fail("cannot write the input file");
}

inline QByteArray readBack(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        fail("cannot read the written file back");
    return file.readAll();
}

// The bytes without their line breaks: what a rewrite that only normalises line ends keeps.
inline QByteArray withoutLineBreaks(QByteArray bytes)
{
    bytes.removeIf([](char c) { return c == '\r' || c == '\n'; });
    return bytes;
}
