#pragma once

#include <QString>
#include <QStringList>

// What the command line asks for. Options of Qt itself (-platform, -style …) are left to Qt.
struct CommandLine
{
    enum class Action { Window, Submit, SetUp, Help, Version, ImportPad, ExportPad, Check, CheckEndpoints, Refused };

    Action action = Action::Window;
    QString base; // --base DIR; empty: the current folder
    QString program; // --submit NAME, --export-pad NAME, --check NAME, --check-endpoints [NAME]
    QString error; // why the line was refused
    QString report; // --report FILE
    QString retryFailed; // --retry-failed REPORT
    int timeout = -1; // --timeout SECONDS (--submit, --check-endpoints); -1: the setting's
    int siteLimit = -1; // --site-limit SECONDS; -1: ten times the time-out
    QString dryRun; // --dry-run DIR
    QString padSource; // --import-pad FILE|URL
    QString padFile; // --export-pad NAME FILE
    bool force = false; // --force: update an existing record / submit despite check errors
    bool quiet = false; // --quiet: no progress line per site during a submission

    static CommandLine parse(const QStringList& args);
};
