#include "app/SitesPage.h"

#include "app/ControlRegistry.h"
#include "app/GrowingControls.h"
#include "app/PageLayout.h"
#include "submit/SiteCatalogue.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QScrollArea>

using namespace PageLayout;

SitesPage::SitesPage(ControlRegistry& controls, QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("sitespage"));
    // One row per site of the catalogue: "New", "Update " and the site's label, then its category
    // control(s).
    auto* box = new QWidget;
    box->setObjectName(QStringLiteral("sitesrows"));
    const int pitch = 24;
    const int categoryX = 300;
    const int categoryWidth = 250;
    Placer p(box, 8, 4, pitch);
    int rowIndex = 0;
    // Sites labelled by their domain take it from the catalogue of the folder the window is built
    // in (its basedir), read once for all rows.
    const SiteCatalogue catalogue = SiteCatalogue::forBase(QDir::currentPath());
    for (const Site& site : SiteCatalogue::sites()) {
        // Only the first two rows' tick boxes carry the sites' help context.
        const int tickHelp = rowIndex < 2 ? HelpSites : 0;
        const QString key = QString::fromLatin1(site.key);
        const QString label = *site.label ? QString::fromLatin1(site.label) : catalogue.endpoints(key).label;
        m_siteLabels.insert(key, label);
        p.field(controls.named(new QCheckBox(QStringLiteral("New"), box), site.newBox, tickHelp), 52);
        const int updateX = p.x();
        p.field(controls.named(new QCheckBox(QStringLiteral("Update ") + label, box), site.updateBox, tickHelp),
            categoryX - p.x() - 6);

        p.at(categoryX);
        const SiteCategory& first = site.category.controls[0];
        const SiteCategory& second = site.category.controls[1];
        switch (site.category.layout) {
        case CategoryLayout::None:
            break;
        case CategoryLayout::PickList:
            p.field(controls.named(dropDown(box), first.control, HelpSites), categoryWidth);
            break;
        case CategoryLayout::Address:
            p.field(
                controls.named(edit(box, QString::fromLatin1(first.start)), first.control, HelpSites), categoryWidth);
            break;
        case CategoryLayout::WinCent:
            // Two lists whose entries run to twenty characters: a line of their own under the row.
            p.nextRow();
            p.at(updateX + 20);
            p.label(QStringLiteral("Cat:"), 3);
            m_wincentpd = p.field(controls.named(dropDown(box), first.control, HelpSites), 150);
            p.label(QStringLiteral("SubCat:"), 3);
            m_wcsubcat
                = p.field(controls.named(dropDown(box), second.control, HelpSites), categoryX + categoryWidth - p.x());
            break;
        case CategoryLayout::ShareDir: {
            const int half = (categoryWidth - 4) / 2;
            m_sharedirpd1 = p.field(controls.named(dropDown(box), first.control, HelpSites), half, FieldHeight, 4);
            m_sharedirpd2 = p.field(controls.named(dropDown(box), second.control, HelpSites), half);
            m_sharedirpd1->setEditText(QString::fromLatin1(first.start));
            m_sharedirpd2->setEditText(QString::fromLatin1(second.start));
            for (QComboBox* list : {m_sharedirpd1, m_sharedirpd2})
                list->lineEdit()->setCursorPosition(0);
            break;
        }
        }
        p.nextRow();
        ++rowIndex;
    }
    box->setFixedSize(categoryX + categoryWidth + 12, p.y() + 4);

    m_sitesbox = controls.named(new QScrollArea(this), "sitesbox");
    m_sitesbox->setGeometry(2, 2, 586, 372);
    m_sitesbox->setWidget(box);
    m_sitesbox->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

void SitesPage::addGrowing(GrowingControls& growing) const
{
    growing.add(m_sitesbox, GrowingControls::Both);
}
