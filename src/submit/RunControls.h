#pragma once

#include <QString>
#include <QStringList>

class RunWindow;

// The window controls the run and the shared recipe steps name, each defined once here so that a
// misspelt name fails to compile rather than at run time. (Recipe tables name the listing's
// controls as text; a test checks that every name they use exists in the window.)
namespace RunControl {

// The four checks at the start of a run.
inline const QString bytesize = QStringLiteral("bytesize");
inline const QString appname = QStringLiteral("appname");
inline const QString char8name = QStringLiteral("char8name");
inline const QString localpath = QStringLiteral("localpath");
// What the Submit page shows during a run.
inline const QString currentsite = QStringLiteral("currentsite");
inline const QString httpled = QStringLiteral("httpled");
inline const QString ftpled = QStringLiteral("ftpled");
inline const QString mailled = QStringLiteral("mailled");
inline const QString httpstatus = QStringLiteral("httpstatus");
inline const QString ftpstatus = QStringLiteral("ftpstatus");
inline const QString mailstatus = QStringLiteral("mailstatus");
inline const QString log = QStringLiteral("log");
inline const QString ftplist = QStringLiteral("ftplist");
inline const QString genlabel = QStringLiteral("genlabel");
// The mail settings a run hands to the mail form.
inline const QString smtpedit = QStringLiteral("smtpedit");
inline const QString emailedit = QStringLiteral("emailedit");
inline const QString nameedit = QStringLiteral("nameedit");
// How the mail session is secured, its log-in, and an extra trusted authority.
inline const QString smtpsecurity = QStringLiteral("smtpsecurity");
inline const QString smtpuser = QStringLiteral("smtpuser");
inline const QString smtppassword = QStringLiteral("smtppassword");
inline const QString cafileedit = QStringLiteral("cafileedit");

// Every name above.
inline QStringList all()
{
    return {bytesize, appname, char8name, localpath, currentsite, httpled, ftpled, mailled, httpstatus, ftpstatus,
        mailstatus, log, ftplist, genlabel, smtpedit, emailedit, nameedit, smtpsecurity, smtpuser, smtppassword,
        cafileedit};
}

// The three status texts back at "Idle", as a site's steps end.
void showIdle(RunWindow& window);

// Which channel lamps a site's steps light.
struct Lamps
{
    bool http = false;
    bool ftp = false;
    bool mail = false;
};
void setLamps(RunWindow& window, Lamps lamps);
// A site's opening on the Submit page: its label as the current site, then its lamps.
void openSite(RunWindow& window, const QString& label, Lamps lamps);

} // namespace RunControl
