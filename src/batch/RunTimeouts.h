#pragma once

#include <QString>

// The time-outs of a run, the window's and a command-line one's alike.
namespace RunTimeouts {

// The stall time-out: the override when one is set (0 or more), else the Check / Options text,
// whose default stands for anything that is no whole number of 0 or more.
int stallSeconds(int override, const QString& setting);
// Every site's time in all: the override when one is set, else ten times the stall time-out.
int siteLimitSeconds(int override, int stallSeconds);
// What the site's log line and report give as the reason.
QString stallReason(int seconds);
QString siteLimitReason(int seconds);

} // namespace RunTimeouts
