// Category pick lists of the Sites page and the site links of the Check / Options page.
#include "app/TForm1.h"

#include "core/Errors.h"

#include <QComboBox>
#include <QDesktopServices>
#include <QUrl>

void TForm1::categoryEnter(QComboBox*) { }

void TForm1::sharedirpd2Enter() { }

void TForm1::wcsubcatEnter() { }

void TForm1::PageControl1Enter() { }

void TForm1::gotolistDblClick() { }

void TForm1::openAddress(const QString& address)
{
    if (!QDesktopServices::openUrl(QUrl::fromUserInput(address)))
        throw QuilletError(QStringLiteral("Couldn't launch default browser"));
}
