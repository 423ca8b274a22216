#include "app/SiteTicks.h"

#include "app/SitesPage.h"
#include "submit/SiteCatalogue.h"

#include <QCheckBox>
#include <QWidget>

QStringList siteTickBoxes(const QWidget& form)
{
    QStringList boxes;
    for (const SiteEntry& entry : SiteCatalogue::entries()) {
        for (const QString& box : {entry.newBox, entry.updateBox}) {
            if (!box.isEmpty() && !boxes.contains(box))
                boxes.append(box);
        }
    }
    if (const auto* page = form.findChild<const SitesPage*>())
        boxes += page->userTickBoxes();
    return boxes;
}

void tickOnly(QWidget& form, const QStringList& boxes)
{
    for (const QString& box : siteTickBoxes(form)) {
        if (auto* check = form.findChild<QCheckBox*>(box))
            check->setChecked(boxes.contains(box));
    }
}
