#include "app/WebBrowser.h"

#include "core/Errors.h"

#include <QDesktopServices>
#include <QUrl>

namespace {

bool launchDefaultBrowser(const QString& address)
{
    // An empty address still starts the browser, on an empty page.
    const QUrl url = address.trimmed().isEmpty() ? QUrl(QStringLiteral("about:blank")) : QUrl::fromUserInput(address);
    return url.isValid() && QDesktopServices::openUrl(url);
}

WebBrowser::Launcher& launcher()
{
    static WebBrowser::Launcher current = launchDefaultBrowser;
    return current;
}

} // namespace

bool WebBrowser::tryOpen(const QString& address)
{
    return launcher()(address);
}

void WebBrowser::open(const QString& address)
{
    if (!tryOpen(address))
        throw QuilletError(QStringLiteral("Couldn't launch default browser"));
}

WebBrowser::Launcher WebBrowser::setLauncher(Launcher replacement)
{
    Launcher previous = launcher();
    launcher() = replacement ? std::move(replacement) : Launcher(launchDefaultBrowser);
    return previous;
}
