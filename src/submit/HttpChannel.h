#pragma once

#include <QByteArray>
#include <QString>

// What a recipe needs of an HTTP client: one request at a time to one address. Failures are
// raised as the client raises them (EHTTP with "code: text"; a redirect is "151: 302 Found").
class HttpChannel
{
public:
    enum class Method { Post, Get };

    virtual ~HttpChannel() = default;

    // Makes the client ready to connect (loads the sockets layer the first time).
    virtual void prepare() = 0;
    virtual void setTarget(const QString& url, const QString& contentType) = 0;
    // An authority trusted besides the system's for https addresses; empty for none.
    virtual void setCaFile(const QString& caFile) { (void)caFile; }
    virtual QString url() const = 0;
    // Performs the request and returns when it is complete.
    virtual void send(Method method, const QByteArray& body) = 0;
    // Ends whatever the client is doing and leaves it idle.
    virtual void idle() = 0;
};
