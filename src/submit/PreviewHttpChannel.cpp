#include "submit/PreviewHttpChannel.h"

#include "net/NetResult.h"
#include "submit/PreviewFolder.h"

PreviewHttpChannel::PreviewHttpChannel(HttpChannel& client, PreviewFolder& folder)
    : m_client(client)
    , m_folder(folder)
{
}

NetResult PreviewHttpChannel::send(Method method, const QByteArray& body)
{
    NetResult refused;
    const std::optional<QByteArray> bytes = m_client.request(method, body, &refused);
    if (!bytes)
        return refused;
    QString error;
    if (!m_folder.saveNumbered(QStringLiteral("http"), QStringLiteral("req"), *bytes, &error))
        return m_client.answered({NetResult::Kind::File, 303, error});
    return m_client.answered({});
}
