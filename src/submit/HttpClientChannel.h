#pragma once

#include "submit/HttpChannel.h"

class THTTP;

// The HTTP channel over a THTTP client: the window's HTTP1 in a run, a client of their own in tests.
class HttpClientChannel : public HttpChannel
{
public:
    explicit HttpClientChannel(THTTP& client);

    void prepare() override;
    void setTarget(const QString& url, const QString& contentType) override;
    void setCaFile(const QString& caFile) override;
    QString url() const override;
    NetResult send(Method method, const QByteArray& body) override;
    void idle() override;
    std::optional<QByteArray> request(Method method, const QByteArray& body, NetResult* refused) override;
    NetResult answered(const NetResult& result) override;

private:
    // A failure as this channel reports it: none when the client does not raise its errors.
    NetResult reported(const NetResult& result) const;

    THTTP& m_client;
    QString m_defaultCaFile;
    bool m_defaultTaken = false;
};
