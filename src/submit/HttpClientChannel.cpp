#include "submit/HttpClientChannel.h"

#include "net/THTTP.h"

HttpClientChannel::HttpClientChannel(THTTP& client)
    : m_client(client)
{
}

void HttpClientChannel::prepare()
{
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
    m_client.setCAFile(caFile);
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
