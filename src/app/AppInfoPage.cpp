#include "app/AppInfoPage.h"

#include "app/ControlRegistry.h"
#include "app/DescriptionPage.h"
#include "app/GeneralPage.h"
#include "app/GrowingControls.h"
#include "app/LocationsPage.h"

#include <QTabWidget>

AppInfoPage::AppInfoPage(ControlRegistry& controls, QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("appinfopage"));
    m_tabs = controls.named(new QTabWidget(this), "PageControl2");
    m_tabs->setGeometry(4, 4, 586, 370);
    // Each sub-page is built inside the window, so its fields take their places in the window's
    // tab order as they are made.
    m_general = new GeneralPage(controls, m_tabs);
    m_tabs->addTab(m_general, QStringLiteral("General"));
    m_locations = new LocationsPage(controls, m_tabs);
    m_tabs->addTab(m_locations, QStringLiteral("Locations"));
    m_description = new DescriptionPage(controls, m_tabs);
    m_tabs->addTab(m_description, QStringLiteral("Description"));
    m_tabs->setCurrentWidget(m_general);
}

void AppInfoPage::addGrowing(GrowingControls& growing) const
{
    growing.add(m_tabs, GrowingControls::Both);
    m_description->addGrowing(growing);
}
