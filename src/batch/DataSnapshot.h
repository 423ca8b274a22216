#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

// The files of a folder as they were, to put back after a preview: the run's saves write the
// record, which a preview must leave as it was.
struct DataSnapshot
{
    QString folder;
    QHash<QString, QByteArray> files;

    static DataSnapshot take(const QString& folder);
    // Changed files get their old bytes back; files added since are removed.
    void restore() const;
};
