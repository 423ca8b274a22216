#pragma once

#include "submit/FormRecipe.h"
#include "submit/MailRecipe.h"
#include "submit/RecipeBook.h"
#include "submit/SiteCatalogue.h"

#include <QByteArray>
#include <QSet>
#include <QString>
#include <QStringList>

#include <deque>
#include <memory>
#include <vector>

// A site of the author's own, defined by one cat/sites/*.site file (see the README for the
// format). It runs through the same steps as the built-in table recipes: a form or GET site is a
// FormRecipe, a mail site a MailRecipe, an FTP site the shared FtpUpload steps.
class UserSite
{
public:
    enum class Channel { Form, Get, Mail, Ftp };

    // What an FTP site sends, in this order.
    struct FtpPlan
    {
        QString folder; // changed into after the log-on; empty: the log-on's folder
        bool program = false; // the program's file (localpath) under the name in filename
        bool description = false; // the listing as a text file, <char8name>.txt
        bool archive = false; // the zip archive of the program and the description, <char8name>.zip
    };

    QString file; // the definition's path
    Channel channel = Channel::Form;
    SiteEntry entry; // id and site key are the KEY; tick boxes KEY + "new" and KEY + "up"
    QString label;
    SiteEndpoints endpoints; // the URL's scheme and host, the mail's TO, the FTP host; the label

    FormRecipe newForm{};
    FormRecipe updateForm{};
    MailRecipe mail{};
    FtpPlan newFtp;
    FtpPlan updateFtp;
    QStringList controls; // every control the templates read

    // Performs the site for a visit of the run.
    void perform(SiteVisit& visit) const;
    // The key of the definition that still names a host under the reserved ".example" ("URL",
    // "TO" or "HOST"); empty when the site points somewhere real.
    QString placeholderKey() const;

    UserSite() = default;
    UserSite(const UserSite&) = delete;
    UserSite& operator=(const UserSite&) = delete;

    // Storage for the texts the recipes point at; elements never move.
    const char* keep(const QString& text);
    const Mapping* keep(Mapping mapping);

private:
    std::deque<QByteArray> m_texts;
    std::deque<Mapping> m_mappings;
};

// Why a definition was refused: the file, the line (0: the file as a whole) and the reason.
struct UserSiteProblem
{
    QString file;
    int line = 0;
    QString message;

    // "cat/sites/name.site:12: message"
    QString text() const;
};

// The sites of one's own of a base folder: the accepted ones in file-name order, and the refused.
class UserSites
{
public:
    std::vector<std::shared_ptr<const UserSite>> sites;
    std::vector<UserSiteProblem> refused;

    // Reads basedir/cat/sites/*.site, sorted by file name. A later file whose KEY an earlier one
    // took is refused.
    static UserSites load(const QString& basedir);
    // No sites.
    static const UserSites& none();

    // The template names a [fields], SUBJECT or OPENING template may use, with the control each reads.
    static const std::vector<std::pair<QString, QString>>& templateNames();
};

// Reads one definition. takenNames: names (lower case) a KEY or its tick boxes must not take.
// file: the name the problems give.
std::shared_ptr<UserSite> parseUserSite(
    const QString& file, const QByteArray& content, const QSet<QString>& takenNames, UserSiteProblem* problem);
