#pragma once

#include "submit/RunRecord.h"

#include <QDialog>

#include <functional>

class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

// "Last Run Results": every ticked site of a run with its outcome, detail and time, failures
// first, the counts at the top. Double-clicking a site shows its log lines and, after a run in debug
// mode, the replies its servers sent.
class RunResultsDialog : public QDialog
{
    Q_OBJECT

public:
    // tickFailed: what "Tick Only Failed Sites" does with the boxes to tick.
    RunResultsDialog(
        const RunRecord& record, std::function<void(const QStringList&)> tickFailed, QWidget* parent = nullptr);

    QLabel* counts;
    QTreeWidget* sites;
    QPushButton* tickFailed;

    // The order of the list: failed, skipped, not reached, not set up, refused, sent.
    static int rank(SiteResult::Outcome outcome);
    // The text shown when a site is double-clicked.
    static QString siteText(const SiteResult& site);

private:
    void showSite(QTreeWidgetItem* item);

    RunRecord m_record;
};
