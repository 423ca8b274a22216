#pragma once

#include "submit/FormRecipe.h"
#include "submit/HttpChannel.h"
#include "submit/SiteCatalogue.h"

#include <QString>

class RunWindow;

// The HTTP steps of one site: the common opening, the request through the run's HTTP channel
// and what its result comes to (ChannelVerdict): a redirect answer counts as success; any other
// failure becomes the site's log line and the run goes on. An error raised on the way (not a
// result) is left to the caller.
class HttpPost
{
public:
    HttpPost(RunWindow& window, HttpChannel& http, const HttpTexts& texts, const SiteEndpoints& endpoints);

    // Current site, lamps (HTTP lit), the preparing text, and the sockets binding.
    void open();
    // Request address and content type.
    void target(const QString& url);
    // Hands the body over, performs the request and judges it.
    void send(const QString& body, HttpChannel::Method method);
    // Logs a failure that happened before anything was sent; the status labels stay as they are.
    void logError(const QString& message);

private:
    void finish();

    RunWindow& m_window;
    HttpChannel& m_http;
    const HttpTexts& m_texts;
    const SiteEndpoints& m_endpoints;
};
