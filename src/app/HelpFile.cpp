#include "app/HelpFile.h"

#include "app/WebBrowser.h"
#include "core/LineFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTextBrowser>
#include <QUrl>

// The guide's resource lives in a static library: it is linked into the program only when it is
// initialised by name.
static void initHelpResource()
{
    static const bool done = [] {
        Q_INIT_RESOURCE(help);
        return true;
    }();
    Q_UNUSED(done)
}

QByteArray helpText()
{
    initHelpResource();
    QFile source(QStringLiteral(":/help/Quillet.html"));
    return source.open(QIODevice::ReadOnly) ? source.readAll() : QByteArray();
}

QString helpFilePath()
{
    // A folder of the user's own: a fixed name in the shared temporary folder could be taken first
    // by another user, who would then choose what is opened or written.
    QString folder = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    if (folder.isEmpty())
        folder = QDir::homePath() + QStringLiteral("/.cache/Quillet");
    return folder + QStringLiteral("/Quillet.html");
}

QString installHelpFile()
{
    const QString path = helpFilePath();
    const QByteArray content = helpText();
    if (content.isEmpty())
        return path;
    QFile current(path);
    if (current.open(QIODevice::ReadOnly) && current.readAll() == content)
        return path;
    QDir().mkpath(QFileInfo(path).absolutePath());
    writeFileWhole(path, content);
    return path;
}

void openHelpFile(QWidget* owner, const QString& section)
{
    const QString path = installHelpFile();
    QUrl url = QUrl::fromLocalFile(path);
    url.setFragment(section);
    if (QFileInfo(path).isFile() && WebBrowser::tryOpen(url.toString()))
        return;
    auto* window = owner->findChild<QTextBrowser*>(QStringLiteral("helpwindow"), Qt::FindDirectChildrenOnly);
    if (!window) {
        window = new QTextBrowser(owner);
        window->setObjectName(QStringLiteral("helpwindow"));
        window->setWindowFlag(Qt::Window);
        window->setWindowTitle(QStringLiteral("Quillet Help"));
        window->setOpenExternalLinks(true);
        window->setHtml(QString::fromUtf8(helpText()));
        window->resize(640, 560);
    }
    window->scrollToAnchor(section);
    window->show();
    window->raise();
    window->activateWindow();
}
