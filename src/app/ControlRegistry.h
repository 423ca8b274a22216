#pragma once

#include <QHash>
#include <QList>
#include <QString>

class QWidget;

// The window's controls by their names. Pages register each control as they build it, so the
// run, the record files and the tests can find a control by the name the data files use.
class ControlRegistry
{
public:
    // Names the control, gives it its help context and makes it findable by name.
    template <typename T>
    T* named(T* widget, const char* name, int helpContext = 0)
    {
        add(widget, QString::fromLatin1(name), helpContext);
        return widget;
    }
    void add(QWidget* widget, const QString& name, int helpContext);

    // The control of that objectName, or nullptr.
    QWidget* control(const QString& name) const { return m_byName.value(name); }
    // Every named control in creation order (pages and labels excluded).
    const QList<QWidget*>& controls() const { return m_controls; }

private:
    QList<QWidget*> m_controls;
    QHash<QString, QWidget*> m_byName;
};
