#include "app/CompanyPage.h"

#include "app/ControlRegistry.h"
#include "app/PageLayout.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include <iterator>
#include <type_traits>

using namespace PageLayout;

CompanyPage::CompanyPage(ControlRegistry& controls, QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("companypage"));
    QWidget* page = this;
    Placer p(page, 16, 10, 25);
    const int col = 170;
    const int width = 320;

    p.label(QStringLiteral("Company Name"));
    p.at(col);
    m_compname = p.field(controls.named(dropDown(page), "compname", HelpCompany), width);

    // In the order of m_edits.
    struct EditRow
    {
        const char* name;
        const char* label;
        const char* start;
    };
    static const EditRow rows[] = {
        {"conname", "Contact Name", ""},
        {"contitle", "Contact Title", ""},
        {"conmail", "Contact E-Mail", ""},
        {"conphone", "Contact Phone", ""},
        {"confax", "Contact Fax", ""},
        {"conaddr", "Contact Address", ""},
        {"concity", "Contact City", ""},
        {"constate", "Contact State/Province", ""},
        {"conzip", "Contact Postal", ""},
        {"concountry", "Contact Country", ""},
        {"pubpage", "Company Home Page", "http://"},
        {"pubmail", "Company E-Mail", ""},
    };
    static_assert(std::size(rows) == std::extent_v<decltype(m_edits)>);
    for (int i = 0; i < int(std::size(rows)); ++i) {
        p.nextRow();
        p.label(QString::fromLatin1(rows[i].label));
        p.at(col);
        m_edits[i]
            = p.field(controls.named(edit(page, QString::fromLatin1(rows[i].start)), rows[i].name, HelpCompany), width);
    }
    p.nextRow(31);
    p.at(col);
    m_savecompany = p.field(
        controls.named(new QPushButton(QStringLiteral("&Save Company Info"), page), "savecompany", HelpCompany), 140,
        25);
}
