#pragma once

#include <QString>
#include <QStringList>

// What the command line asks for. Options of Qt itself (-platform, -style …) are left to Qt.
struct CommandLine
{
    enum class Action { Window, Submit, SetUp, Help, Version, Refused };

    Action action = Action::Window;
    QString base; // --base DIR; empty: the current folder
    QString program; // --submit NAME
    QString error; // why the line was refused
    QString report; // --report FILE
    QString retryFailed; // --retry-failed REPORT
    int timeout = -1; // --timeout SECONDS; -1: the setting's
    int siteLimit = -1; // --site-limit SECONDS; -1: ten times the time-out
    QString dryRun; // --dry-run DIR

    static CommandLine parse(const QStringList& args);
};
