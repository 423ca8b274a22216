#pragma once

#include "submit/RunHistory.h"

#include <QDialog>

#include <functional>
#include <vector>

class QPushButton;
class QTreeWidget;

// "Submission History": the runs of one program that the reports folder keeps, newest first, with
// their version and counts. "Open" (or a double-click) shows a run's results.
class SubmissionHistoryDialog : public QDialog
{
    Q_OBJECT

public:
    using OpenRun = std::function<void(const RunHistory::PastRun&)>;
    SubmissionHistoryDialog(
        const QString& program, std::vector<RunHistory::PastRun> runs, OpenRun open, QWidget* parent = nullptr);

    QTreeWidget* runs;
    QPushButton* open;

    // How a past run is named in lists and captions.
    static QString runTitle(const RunRecord& record);

private:
    void openCurrent();

    std::vector<RunHistory::PastRun> m_runs;
    OpenRun m_open;
};
