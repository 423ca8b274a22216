#pragma once

#include "support/TempBase.h"

#include <QMap>
#include <QStringList>

// A program record as the window's controls would hold it, written into a base folder the way
// the program stores it.
struct ProgramRecord
{
    QString name;
    QMap<QString, QString> fields; // control name -> text (listing, company and category controls)
    QStringList longdesc; // lines of the long description
    QStringList ticked; // tick boxes that are set
    QStringList notes = {QStringLiteral("Registration code: none")}; // lines of the notes to the reviewer
};

// Writes data/apps.dat, the record file and its .lds and .nts files; localpath, when not given,
// points at an archive file created in files/.
void writeProgram(const TempBase& base, const ProgramRecord& record);

// cat/catalogue.dat pointing every site's web host, and its FTP host where a port is given, at local peers,
// giving every site its built-in mailboxes (see GivenMailboxes.h) and siteLines' lines (site key ->
// "KEY=value\r\n" lines) to their sites.
QByteArray catalogueForPeers(quint16 httpPort, quint16 ftpPort = 0, const QMap<QString, QByteArray>& siteLines = {});
// cat/settings.dat with the mail server at a local peer and the sender's address and name.
QByteArray mailSettingsFor(quint16 smtpPort, const char* email, const char* name);

// What a batch run printed and how it ended.
struct BatchResult
{
    int exitCode = -1;
    QStringList out; // stdout lines
    QString err; // stderr
};

// Runs "quillet <args>" in folder with no display at all; program: another copy of the executable.
// A --submit goes with --force (past the listing check's errors); runQuilletAsTyped adds nothing.
BatchResult runQuillet(const QString& folder, const QStringList& args, const QString& program = {});
BatchResult runQuilletAsTyped(const QString& folder, const QStringList& args, const QString& program = {});
