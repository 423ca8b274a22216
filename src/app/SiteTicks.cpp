#include "app/SiteTicks.h"

#include "submit/SiteCatalogue.h"

#include <QCheckBox>
#include <QWidget>

void tickOnly(QWidget& form, const QStringList& boxes)
{
    for (const SiteEntry& entry : SiteCatalogue::entries()) {
        for (const QString& box : {entry.newBox, entry.updateBox}) {
            if (box.isEmpty())
                continue;
            if (auto* check = form.findChild<QCheckBox*>(box))
                check->setChecked(boxes.contains(box));
        }
    }
}
