#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

// The folder a preview run writes into instead of sending: http/NNNN.req, mail/NNNN.eml and
// ftp/<host>/<folder>/<file>, with the list of what was written, in order.
class PreviewFolder
{
public:
    explicit PreviewFolder(const QString& folder);

    const QString& folder() const { return m_folder; }
    // Writes data as the next numbered file of kind ("http", "mail") with the given extension.
    // Raises nothing; returns false (with why in *error) when the file cannot be written.
    bool saveNumbered(const QString& kind, const QString& extension, const QByteArray& data, QString* error);
    // Notes a file written into the folder by other means (an upload's copy).
    void noteWritten(const QString& path);
    // What was written so far, relative to the folder ("http/0001.req").
    const QStringList& written() const { return m_written; }

private:
    QString m_folder;
    QHash<QString, int> m_counters;
    QStringList m_written;
};
