#include "app/SiteEndpointsActions.h"

#include "app/FileMenu.h"
#include "app/SiteEndpointsDialog.h"
#include "app/TForm1.h"
#include "core/Dialogs.h"
#include "submit/SiteCatalogue.h"

#include <QAction>
#include <QPushButton>

SiteEndpointsActions::SiteEndpointsActions(TForm1& form)
    : QObject(&form)
    , m_form(form)
{
    setObjectName(QStringLiteral("siteEndpointsActions"));
    if (QAction* action
        = FileMenu::addBeforeExit(form, QStringLiteral("Site &Endpoints…"), QStringLiteral("SiteEndpoints1")))
        connect(action, &QAction::triggered, this, [this] { guarded([this] { open(); }); });
    connect(form.sitespage()->endpointsButton(), &QPushButton::clicked, this, [this] { guarded([this] { open(); }); });
}

void SiteEndpointsActions::open()
{
    SiteEndpointsDialog dialog(m_form.basedir(), m_form.stallSeconds(), &m_form);
    if (dialog.exec() == QDialog::Accepted)
        m_form.sitespage()->showSetUp(SiteCatalogue::forBase(m_form.basedir()));
}
