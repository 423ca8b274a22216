// Category pick lists of the Sites page and the site links of the Check / Options page.
#include "app/TForm1.h"

#include "app/CategoryFiles.h"
#include "app/ComboItems.h"
#include "app/SiteLinks.h"
#include "app/WebBrowser.h"
#include "core/Dialogs.h"
#include "core/Errors.h"

#include <QComboBox>
#include <QListWidget>

namespace {

QString catFolder(const QString& basedir)
{
    return basedir + QLatin1String("/cat");
}

} // namespace

void TForm1::categoryEnter(QComboBox* box)
{
    const QString file = CategoryFiles::fileFor(box->objectName());
    if (file.isEmpty())
        return;
    // A missing file leaves the items as they are, silently.
    if (const auto entries = CategoryFiles::read(catFolder(basedir()), file))
        replaceComboItems(box, *entries);
}

void TForm1::sharedirpd2Enter()
{
    const QString file = CategoryFiles::fileFor(QStringLiteral("sharedirpd2"));
    const auto entries = CategoryFiles::read(catFolder(basedir()), file);
    if (entries)
        replaceComboItems(sharedirpd1(), *entries);
    // The second list is loaded without an existence test: a missing file is reported.
    if (!entries)
        throw EOpenError(catFolder(basedir()) + QLatin1Char('/') + file);
    replaceComboItems(sharedirpd2(), *entries);
}

void TForm1::wcsubcatEnter()
{
    const QString category = wincentpd()->currentText();
    if (category.isEmpty())
        dialogs().showMessage(QStringLiteral("You must first select a category"));
    const QString file = CategoryFiles::wincentSubcategoryFile(category);
    if (file.isEmpty())
        return;
    const auto entries = CategoryFiles::read(catFolder(basedir()), file);
    if (!entries)
        throw EOpenError(catFolder(basedir()) + QLatin1Char('/') + file);
    replaceComboItems(wcsubcat(), *entries);
}

void TForm1::PageControl1Enter()
{
    // Raises "Cannot open file" without sites.dat; the list then keeps its items.
    const QStringList names = SiteLinks(catFolder(basedir())).names();
    gotolist()->clear();
    gotolist()->addItems(names);
}

void TForm1::gotolistDblClick()
{
    const QList<QListWidgetItem*> selected = gotolist()->selectedItems();
    const QString name = selected.isEmpty() ? QString() : selected.first()->text();
    openAddress(SiteLinks(catFolder(basedir())).address(name));
}

void TForm1::openAddress(const QString& address)
{
    WebBrowser::open(address);
}
