#include "submit/HttpClientChannel.h"

#include "net/THTTP.h"

#include <QFile>

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

NetResult HttpClientChannel::send(Method method, const QByteArray& body)
{
    m_client.setPostData(body);
    return reported(m_client.send(method == Method::Get ? "GET" : "POST"));
}

NetResult HttpClientChannel::reported(const NetResult& result) const
{
    return m_client.RaiseErrors() ? result : NetResult();
}

void HttpClientChannel::idle()
{
    m_client.setAction(httpIdle);
}

std::optional<QByteArray> HttpClientChannel::request(Method method, const QByteArray& body, NetResult* refused)
{
    m_client.setPostData(body);
    const QByteArray verb = method == Method::Get ? "GET" : "POST";
    qint64 fileSize = -1;
    NetResult checked = m_client.checkRequest(verb, &fileSize);
    QByteArray bytes;
    if (checked.ok()) {
        bytes = m_client.requestHead(verb, fileSize);
        if (method == Method::Post) {
            bytes += body;
            if (fileSize >= 0) {
                QFile file(m_client.AttachedFile());
                if (file.open(QIODevice::ReadOnly))
                    bytes += file.readAll();
                else
                    checked = {NetResult::Kind::File, 302, QStringLiteral("Can't open file for reading.")};
            }
        }
    }
    if (!checked.ok()) {
        *refused = answered(checked);
        return std::nullopt;
    }
    return bytes;
}

NetResult HttpClientChannel::answered(const NetResult& result)
{
    if (!result.ok())
        return reported(result);
    // What a server that took the request without a word leaves behind.
    emit m_client.OnConnected(0, QStringLiteral("OK"));
    emit m_client.OnEndTransfer();
    emit m_client.OnDisconnected(0, QStringLiteral("OK"));
    return result;
}
