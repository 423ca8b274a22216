#pragma once

#include "batch/RecordRunWindow.h"
#include "pad/ListingCheck.h"
#include "submit/SubmissionRun.h"
#include "submit/UserSites.h"

#include <QString>

#include <memory>
#include <vector>

// "Save/Submit" on a stored program record without building the window: the record read into a
// RecordRunWindow, the same transports the window's run uses, the same time-outs and report.
class RecordRun
{
public:
    RecordRun(const QString& basedir, const QString& program);
    ~RecordRun();

    RecordRunWindow& window() { return *m_window; }
    const UserSites& userSites() const { return m_userSites; }
    SubmissionRun& submission() { return m_submission; }

    // As the window's "Save/Submit": overrides of the Check / Options time-out and of the site
    // limit (-1: none), where the report goes (empty: reports/<program> <time>.json) and a
    // preview folder (empty: the run sends).
    void setStallSeconds(int seconds) { m_stallOverride = seconds; }
    void setSiteLimitSeconds(int seconds) { m_siteLimitOverride = seconds; }
    void setReportFile(const QString& path) { m_reportFile = path; }
    void setPreviewFolder(const QString& folder) { m_previewFolder = folder; }

    // The listing check of the record with the tick boxes set now.
    std::vector<Finding> checkListing();
    // Runs it and writes its report; how it ended.
    SubmissionRun::Outcome submit();
    // The report written, or empty when none could be.
    const QString& reportPath() const { return m_reportPath; }

private:
    class Transports;
    void timeOut(const QString& reason);

    QString m_basedir;
    UserSites m_userSites;
    std::unique_ptr<RecordRunWindow> m_window;
    std::unique_ptr<Transports> m_transports;
    SubmissionRun m_submission;
    int m_stallOverride = -1;
    int m_siteLimitOverride = -1;
    QString m_reportFile;
    QString m_previewFolder;
    QString m_reportPath;
};
