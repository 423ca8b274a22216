#pragma once

#include "submit/HttpChannel.h"

class PreviewFolder;

// A preview's HTTP channel: each request is written as the next http/NNNN.req of the preview
// folder, byte for byte as the client would send it, and nothing is sent. Everything else is the
// client's own channel.
class PreviewHttpChannel : public HttpChannel
{
public:
    PreviewHttpChannel(HttpChannel& client, PreviewFolder& folder);

    void prepare() override { m_client.prepare(); }
    void setTarget(const QString& url, const QString& contentType) override { m_client.setTarget(url, contentType); }
    void setCaFile(const QString& caFile) override { m_client.setCaFile(caFile); }
    QString url() const override { return m_client.url(); }
    NetResult send(Method method, const QByteArray& body) override;
    void idle() override { m_client.idle(); }
    std::optional<QByteArray> request(Method method, const QByteArray& body, NetResult* refused) override
    {
        return m_client.request(method, body, refused);
    }
    NetResult answered(const NetResult& result) override { return m_client.answered(result); }

private:
    HttpChannel& m_client;
    PreviewFolder& m_folder;
};
