#pragma once

#include <QString>

// What the shared steps tell the run about the site being visited, so that every recipe gets
// its outcome without reporting anything itself. Outside a run every call does nothing.
namespace SiteReport {

// A channel the site's steps used: "HTTP", "FTP", "mail" or "file".
void channel(const QString& name);
// Something was handed to a client to send.
void attempted();
// A step failed; the first failure of a site is the one reported. detail is the log's text.
void failed(const QString& step, const QString& detail);
// The site's steps decided not to send (a category the site does not take, no form page).
void refused(const QString& detail);
// Skip was pressed, or a wait ran out of time, during the site's steps.
void skipped(const QString& reason);
// In debug mode: a reply a client captured, kept with the site for the results view.
void reply(const QString& text);

} // namespace SiteReport
