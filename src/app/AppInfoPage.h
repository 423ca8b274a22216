#pragma once

#include <QWidget>

class ControlRegistry;
class DescriptionPage;
class GrowingControls;
class GeneralPage;
class LocationsPage;
class QTabWidget;

// App Info: the program's listing on three sub-pages, General, Locations and Description.
class AppInfoPage : public QWidget
{
    Q_OBJECT

public:
    AppInfoPage(ControlRegistry& controls, QWidget* parent);

    QTabWidget* PageControl2() const { return m_tabs; }
    GeneralPage* general() const { return m_general; }
    LocationsPage* locations() const { return m_locations; }
    DescriptionPage* description() const { return m_description; }
    // The sub-pages take the room of a grown window, the description's memos with them.
    void addGrowing(GrowingControls& growing) const;

private:
    QTabWidget* m_tabs;
    GeneralPage* m_general;
    LocationsPage* m_locations;
    DescriptionPage* m_description;
};
