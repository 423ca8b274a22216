#include "submit/HttpPost.h"

#include "submit/ChannelVerdict.h"
#include "submit/RunControls.h"
#include "submit/RunWindow.h"

HttpPost::HttpPost(RunWindow& window, HttpChannel& http, const HttpTexts& texts, const SiteEndpoints& endpoints)
    : m_window(window)
    , m_http(http)
    , m_texts(texts)
    , m_endpoints(endpoints)
{
}

void HttpPost::open()
{
    RunControl::openSite(m_window, m_endpoints.expand(m_texts.labelText()), {.http = true});
    m_window.setText(RunControl::httpstatus, m_endpoints.expand(m_texts.preparingText()));
    m_window.report().channel(QStringLiteral("HTTP"));
    m_http.prepare();
}

void HttpPost::target(const QString& url)
{
    m_http.setCaFile(m_endpoints.caFile);
    m_http.setTarget(url, QStringLiteral("application/x-www-form-urlencoded"));
}

void HttpPost::send(const QString& body, HttpChannel::Method method)
{
    m_window.setText(RunControl::httpstatus, m_endpoints.expand(m_texts.postingText()));
    m_window.setBusy(true);
    if (m_texts.debugEcho && m_window.debugMode())
        m_window.debugEcho(method == HttpChannel::Method::Get ? m_http.url() : body);

    NetResult result;
    try {
        m_window.report().attempted();
        result = m_http.send(method, encodeText(body, encodingFor(m_window.recordEncoding(), body)));
    } catch (...) {
        // Not ours to judge: the run ends through the general error handler, but not with the
        // hourglass left up or the client still busy.
        m_window.setBusy(false);
        try {
            m_http.idle();
        } catch (...) {
        }
        throw;
    }
    switch (const ChannelVerdict verdict = ChannelVerdict::of(ChannelVerdict::Channel::Http, result); verdict.outcome) {
    case ChannelVerdict::Outcome::Sent:
        m_window.setText(RunControl::httpstatus, m_endpoints.expand(m_texts.postedText()));
        m_window.setBusy(false);
        m_window.appendLog(m_endpoints.expand(m_texts.completedLogText()));
        RunControl::showIdle(m_window);
        break;
    case ChannelVerdict::Outcome::Redirected:
        m_window.setBusy(false);
        m_window.setText(RunControl::httpstatus, m_endpoints.expand(m_texts.redirectedText()));
        m_window.appendLog(m_endpoints.expand(m_texts.redirectedLogText()));
        RunControl::showIdle(m_window);
        break;
    default: {
        m_window.setBusy(false);
        const QString line = m_endpoints.expand(m_texts.errorLogText()) + verdict.failure;
        m_window.appendLog(line);
        m_window.report().failed(QStringLiteral("HTTP request"), line);
    }
    }
    finish();
}

void HttpPost::logError(const QString& message)
{
    const QString line = m_endpoints.expand(m_texts.errorLogText()) + message;
    m_window.appendLog(line);
    m_window.report().refused(line);
    m_window.processMessages();
}

void HttpPost::finish()
{
    m_http.idle();
    m_window.setBusy(false);
    m_window.processMessages();
}
