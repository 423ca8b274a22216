#include "submit/TucowsSite.h"

#include "submit/FormSite.h"
#include "submit/FtpUpload.h"
#include "submit/RecipeBook.h"
#include "submit/RunControls.h"
#include "submit/RunWindow.h"

void submitTucows(SiteVisit& visit)
{
    RunWindow& w = visit.window;
    const FormRecipe& recipe = *findFormRecipe(QStringLiteral("tucows"));
    RunControl::openSite(w, QString::fromUtf8(recipe.texts.label), {.http = true, .ftp = true});

    const QString filename = w.text(QStringLiteral("filename"));
    FtpUpload ftp(w, visit.channels.ftp, QStringLiteral("Tucows"));
    ftp.logon(QStringLiteral("logging on to Tucows FTP"), visit.endpoints.ftpHost, QStringLiteral("Anonymous"),
        w.text(QStringLiteral("conmail")), w.text(QStringLiteral("localpath")));
    // The folder box shows the root; the upload names its folder itself.
    ftp.setRemotePath(QStringLiteral("/"));
    ftp.upload(QStringLiteral("uploads/"), filename);
    ftp.logResult(QStringLiteral("Uploaded ") + filename + QStringLiteral(" to Tucows FTP"));
    ftp.logoff(QStringLiteral("logging off of Tucows FTP"));

    postFormRecipe(recipe, visit);
}
