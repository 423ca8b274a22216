#pragma once

#include "net/NetResult.h"

#include <QString>

// What a channel's result comes to for the run: the one place that decides what counts as sent,
// what fails a site, what ends a site's steps and what ends the run.
struct ChannelVerdict
{
    enum class Channel { Http, Mail, Ftp };
    enum class Outcome {
        Sent,
        Redirected, // an HTTP 302: the server sent the form on, so the post went through
        Failed, // the site failed; the run goes on
        Cancelled, // the user's Cancel ended the transfer: the run ends after this site
    };

    Outcome outcome = Outcome::Sent;
    // A failure as the site's log line names it: "code: text" for HTTP and FTP, the mail client's
    // text alone.
    QString failure;
    // A failed mail ends the site's steps; a failed post or upload leaves the rest to go on.
    bool endsSiteSteps = false;

    bool sent() const { return outcome == Outcome::Sent || outcome == Outcome::Redirected; }

    // cancelRequested: the run's Cancel was pressed (a Skip cancels the transfer, not the run).
    static ChannelVerdict of(Channel channel, const NetResult& result, bool cancelRequested = false);
};
