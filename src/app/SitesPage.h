#pragma once

#include "submit/RunHistory.h"
#include "submit/UserSites.h"

#include <QHash>
#include <QString>
#include <QWidget>

#include <functional>
#include <utility>

class ControlRegistry;
class SiteCatalogue;
class GrowingControls;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollArea;

// Sites: one row per site of the catalogue, "New", "Update <label>" and the site's category
// control(s), in a scrolled box. The rows' controls are found by name; the category lists with
// handlers of their own have accessors. Above the rows: a filter that shows only the rows whose
// label holds its text, "Tick none", and how many sites are ticked.
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

    // The sites of one's own of the folder the window is built in, shown after the built-in rows
    // (a refused definition as a row with its error).
    const UserSites& userSites() const { return m_userSites; }
    // The tick boxes of the sites of one's own, by name.
    QStringList userTickBoxes() const;

    QLineEdit* sitesfilter() const { return m_filter; }
    QPushButton* ticknone() const { return m_ticknone; }
    QLabel* tickcount() const { return m_tickcount; }
    // Sites with a New or an Update tick.
    int tickedSites() const;
    // Clears every site's New and Update ticks, shown or filtered out.
    void tickNone();
    // Shows only the rows whose label holds text (any case), closed up in page order.
    void filterRows(const QString& text);
    // Shows on each row what the site last got of the program (right of the category controls).
    void showHistory(const QString& program, const QHash<QString, RunHistory::Receipt>& receipts);
    // The history text of a site's row.
    QString historyText(const QString& siteKey) const;
    // Where the rows' history comes from: the program shown and the reports of its runs. It is
    // read when the page shows after a change, not on every load of a record.
    using HistorySource = std::function<std::pair<QString, QHash<QString, RunHistory::Receipt>>()>;
    void setHistorySource(HistorySource source) { m_historySource = std::move(source); }
    // A record loaded or a run ended: the history is read again now, or when the page next shows.
    void historyChanged();
    // Shows the rows of sites that are not set up in grey, with a tooltip naming what is missing.
    void showSetUp(const SiteCatalogue& catalogue);
    // "Site Endpoints…", beside the filter.
    QPushButton* endpointsButton() const { return m_endpoints; }

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Row
    {
        QString siteKey;
        QString label;
        QLabel* history;
        QCheckBox* newBox; // null on the row of a refused definition
        QCheckBox* updateBox;
        QString setUpTip; // what is missing of a built-in site, the file of a site of one's own
        QString historyTip; // what the site last got, in words
        QList<QWidget*> widgets; // everything on the row, at its place in the unfiltered list
        QList<int> designedY;
        int top;
        int height;
    };
    void buildFilterBar();
    // Reads the history again when a load, a save or a run changed it.
    void refreshHistory();
    // The row's tick boxes' tooltips: its set-up tip, and on the Update box its history tip too.
    void showTips(const Row& row);
    // A row made of the rows box's widgets from widgetsBefore on.
    void addRow(const QString& siteKey, const QString& label, QLabel* history, QCheckBox* newBox, QCheckBox* updateBox,
        qsizetype widgetsBefore, int top, int bottom);
    void updateTickCount();

    QList<Row> m_rows;
    QWidget* m_rowsBox = nullptr;
    QLineEdit* m_filter = nullptr;
    QPushButton* m_ticknone = nullptr;
    QPushButton* m_endpoints = nullptr;
    QLabel* m_tickcount = nullptr;
    int m_siteCount = 0; // rows with tick boxes
    int m_tickedCount = 0; // of those, the ones with a box ticked
    QScrollArea* m_sitesbox = nullptr;
    QComboBox* m_wincentpd = nullptr;
    QComboBox* m_wcsubcat = nullptr;
    QComboBox* m_sharedirpd1 = nullptr;
    QComboBox* m_sharedirpd2 = nullptr;
    QHash<QString, QString> m_siteLabels;
    HistorySource m_historySource;
    int m_narrowWidth = 0; // the rows without the history column
    int m_wideWidth = 0; // with it
    bool m_historyStale = true;
    UserSites m_userSites;
};
