#include "app/ControlRegistry.h"

#include <QVariant>
#include <QWidget>

void ControlRegistry::add(QWidget* widget, const QString& name, int helpContext)
{
    widget->setObjectName(name);
    if (helpContext)
        widget->setProperty("helpContext", helpContext);
    m_controls.append(widget);
    m_byName.insert(name, widget);
}
