#pragma once

#include <QWidget>

class ControlRegistry;
class QLineEdit;
class QToolButton;

// App Info / Locations: the program's web addresses and the local path of its archive.
class LocationsPage : public QWidget
{
    Q_OBJECT

public:
    LocationsPage(ControlRegistry& controls, QWidget* parent);

    QLineEdit* appurl() const { return m_appurl; }
    // Download URL #1 … #6, by number.
    QLineEdit* dl(int number) const { return m_downloads[number - 1]; }
    QLineEdit* screenshot() const { return m_screenshot; }
    QLineEdit* localpath() const { return m_localpath; }
    QToolButton* browse() const { return m_browse; }

    // Picks the program's archive with the file dialog.
    void browseClick();

private:
    QLineEdit* m_appurl;
    QLineEdit* m_downloads[6];
    QLineEdit* m_screenshot;
    QLineEdit* m_localpath;
    QToolButton* m_browse;
};
