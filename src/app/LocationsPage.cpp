#include "app/LocationsPage.h"

#include "app/ControlRegistry.h"
#include "app/PageLayout.h"
#include "core/Dialogs.h"

#include <QLineEdit>
#include <QStyle>
#include <QToolButton>

using namespace PageLayout;

LocationsPage::LocationsPage(ControlRegistry& controls, QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("locationspage"));
    QWidget* page = this;
    Placer p(page, 10, 10, 30);
    const int col = 180;
    const int width = 370;

    p.label(QStringLiteral("Application Info URL"));
    p.at(col);
    m_appurl = p.field(controls.named(edit(page, QStringLiteral("http://")), "appurl", HelpLocations), width);
    for (int i = 0; i < 6; ++i) {
        p.nextRow();
        p.label(QStringLiteral("Download URL #%1").arg(i + 1));
        p.at(col);
        const QByteArray name = "dl" + QByteArray::number(i + 1);
        m_downloads[i]
            = p.field(controls.named(edit(page, QStringLiteral("http://")), name.constData(), HelpLocations), width);
    }
    p.nextRow();
    p.label(QStringLiteral("URL Location of ScreenShot"));
    p.at(col);
    m_screenshot = p.field(controls.named(edit(page, QStringLiteral("http://")), "screenshot", HelpLocations), width);
    p.nextRow(36);
    p.label(QStringLiteral("Full Local Path to File Archive:"));
    p.at(col);
    m_localpath = p.field(controls.named(edit(page), "localpath", HelpLocations), width - 28, FieldHeight, 4);
    m_browse = p.field(controls.named(new QToolButton(page), "browse", HelpLocations), FieldHeight + 2, FieldHeight);
    m_browse->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));
    m_browse->setToolTip(QStringLiteral("Select your program"));
}

void LocationsPage::browseClick()
{
    const QString path = dialogs().openFileName(
        {QStringLiteral("Select your program"), QStringLiteral("Programs|*.ZIP;*.EXE"), QStringLiteral("EXE"), {}});
    if (!path.isEmpty())
        m_localpath->setText(path);
}
