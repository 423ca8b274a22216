#pragma once

#include <QString>
#include <QStringList>

class MailChannel;
class RunWindow;

// The standard submission e-mail: the steps every e-mail recipe takes, and sendmail, which
// appends the program's listing, sends and clears the body.
namespace MailSteps {

// The product's pages named in the trailer of every submission e-mail.
extern const QString ProductHomePage;
extern const QString ProductBannerPage;

// The start of a run: the settings page's mail fields into the mail setup dialog.
void takeSettings(RunWindow& window, MailChannel& mail);

// The site's opening: current site, the mail lamp lit, the others dark, the preparing text.
void open(RunWindow& window, const QString& label, const QString& preparing);
// Subject set, body cleared, the opening lines added.
void compose(MailChannel& mail, const QString& subject, const QStringList& lines);
// The three status texts "Idle", the log line, pending messages run.
void finish(RunWindow& window, const QString& logLine);

// Every control the e-mail steps read or show.
QStringList controlNames();

// The listing as the 36 lines that follow a recipe's opening lines.
QStringList listingLines(const RunWindow& window);
// Appends the listing, sends, and clears the body. A failed send is logged, reported as the site's
// failure and raises SiteStepsEnded.
void sendmail(RunWindow& window, MailChannel& mail);
// Sends the message composed so far. A failed send (refused, rejected, timed out, Skip or Cancel)
// is logged ("<current site>: Error sending mail - <message>") and reported as the site's failure;
// the status goes back to idle and SiteStepsEnded is raised (see ChannelVerdict).
void deliver(RunWindow& window, MailChannel& mail);

} // namespace MailSteps
