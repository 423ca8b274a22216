#include "submit/HttpClientChannel.h"

#include "net/THTTP.h"

HttpClientChannel::HttpClientChannel(THTTP& client)
    : m_client(client)
{
}

void HttpClientChannel::prepare()
{
    // The run has read its settings by the first site: the client's authority is the one they give.
    if (!m_defaultTaken) {
        m_defaultCaFile = m_client.CAFile();
        m_defaultTaken = true;
    }
    if (!m_client.WinsockLoaded())
        m_client.setWinsockLoaded(true);
}

void HttpClientChannel::setTarget(const QString& url, const QString& contentType)
{
    m_client.setURL(url);
    m_client.setContentType(contentType);
}

void HttpClientChannel::setCaFile(const QString& caFile)
{
    // A site's own authority, otherwise the one the client was given (the Check / Options one).
    m_client.setCAFile(caFile.isEmpty() ? m_defaultCaFile : caFile);
}

QString HttpClientChannel::url() const
{
    return m_client.URL();
}

void HttpClientChannel::send(Method method, const QByteArray& body)
{
    m_client.setPostData(body);
    m_client.setAction(method == Method::Get ? httpGet : httpPost);
}

void HttpClientChannel::idle()
{
    m_client.setAction(httpIdle);
}
