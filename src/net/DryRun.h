#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// A preview of a run: while a folder is set, each client writes what it would send into it
// (http/NNNN.req, mail/NNNN.eml, ftp/<host>/<folder>/<file>) and makes no connection at all.
namespace DryRun {

bool active();
QString folder();
// Empty: send for real again. Setting a folder restarts the numbering.
void setFolder(const QString& folder);
// Writes data as the next numbered file of kind ("http", "mail") with the given extension.
// Raises nothing; returns false (with why in *error) when the file cannot be written.
bool saveNumbered(const QString& kind, const QString& extension, const QByteArray& data, QString* error);
// Notes a file a client wrote into the folder itself (an upload's copy).
void noteWritten(const QString& path);
// What the clients wrote since the folder was set, in order, relative to it ("http/0001.req").
const QStringList& written();

} // namespace DryRun
