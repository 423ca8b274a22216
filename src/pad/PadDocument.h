#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

#include <optional>

// The element texts of a PAD file by path under the root (e.g. "Program_Info/Program_Name").
// Elements the reader does not know are kept too and simply never asked for.
struct PadDocument
{
    QHash<QString, QString> values;
    QString version; // MASTER_PAD_VERSION_INFO/MASTER_PAD_VERSION

    QString value(const QString& path) const { return values.value(path).trimmed(); }

    // Parses a PAD file of any version: UTF-8 (with or without byte order mark), UTF-16, or an
    // 8-bit encoding its declaration names (Windows-1252, ISO-8859-1, US-ASCII); CR LF or LF.
    // On failure error is set to one line that says why, and nothing is returned.
    static std::optional<PadDocument> parse(const QByteArray& bytes, QString* error);
};
