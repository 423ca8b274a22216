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
    void send(Method method, const QByteArray& body) override;
    void idle() override;
    NetResult lastResult() const override { return m_last; }
    std::optional<QByteArray> request(Method method, const QByteArray& body) override;
    void answered(const NetResult& result) override;

private:
    THTTP& m_client;
    QString m_defaultCaFile;
    bool m_defaultTaken = false;
    NetResult m_last;
};
