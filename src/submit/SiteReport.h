#pragma once

#include <QString>

// What the shared steps tell the run about the site being visited, so that every recipe gets
// its outcome without reporting anything itself. The run's record takes the reports while a site
// is under way; outside a run the steps report to nobody().
class SiteReport
{
public:
    virtual ~SiteReport() = default;

    // A channel the site's steps used: "HTTP", "FTP", "mail" or "file".
    virtual void channel(const QString& name) = 0;
    // Something was handed to a client to send.
    virtual void attempted() = 0;
    // A step failed; the first failure of a site is the one reported. detail is the log's text.
    virtual void failed(const QString& step, const QString& detail) = 0;
    // The site's steps decided not to send (a category the site does not take, no form page).
    virtual void refused(const QString& detail) = 0;
    // Skip was pressed, or a wait ran out of time, during the site's steps.
    virtual void skipped(const QString& reason) = 0;
    // In debug mode: a reply a client captured, kept with the site for the results view.
    virtual void reply(const QString& text) = 0;

    // The report that keeps nothing.
    static SiteReport& nobody();
};
