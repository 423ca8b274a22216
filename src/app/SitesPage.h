#pragma once

#include <QHash>
#include <QString>
#include <QWidget>

class ControlRegistry;
class GrowingControls;
class QComboBox;
class QScrollArea;

// Sites: one row per site of the catalogue, "New", "Update <label>" and the site's category
// control(s), in a scrolled box. The rows' controls are found by name; the category lists with
// handlers of their own have accessors.
class SitesPage : public QWidget
{
    Q_OBJECT

public:
    SitesPage(ControlRegistry& controls, QWidget* parent);

    QScrollArea* sitesbox() const { return m_sitesbox; }
    QComboBox* wincentpd() const { return m_wincentpd; }
    QComboBox* wcsubcat() const { return m_wcsubcat; }
    QComboBox* sharedirpd1() const { return m_sharedirpd1; }
    QComboBox* sharedirpd2() const { return m_sharedirpd2; }
    // The label a site row's "Update " tick box carries after that word, by site key.
    QString siteLabel(const QString& siteKey) const { return m_siteLabels.value(siteKey); }
    // The list of sites takes the room of a grown window.
    void addGrowing(GrowingControls& growing) const;

private:
    QScrollArea* m_sitesbox = nullptr;
    QComboBox* m_wincentpd = nullptr;
    QComboBox* m_wcsubcat = nullptr;
    QComboBox* m_sharedirpd1 = nullptr;
    QComboBox* m_sharedirpd2 = nullptr;
    QHash<QString, QString> m_siteLabels;
};
