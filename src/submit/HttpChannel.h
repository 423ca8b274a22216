#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

#include "net/NetResult.h"

// What a recipe needs of an HTTP client: one request at a time to one address. Failures are
// raised as the client raises them (EHTTP with "code: text"; a redirect is "151: 302 Found"), and
// the last request's outcome can be read as a result (a redirect is told by its status).
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
    // The outcome of the last send().
    virtual NetResult lastResult() const = 0;

    // For a channel that stands in for this one (a preview): the bytes send() would put on the
    // wire (head, body, attached file), or nothing when the client turns the request down (it
    // raises then, as send() would).
    virtual std::optional<QByteArray> request(Method method, const QByteArray& body) = 0;
    // Ends a request that was not sent as the client ends one: a failure as it reports it,
    // success as an answer without a word.
    virtual void answered(const NetResult& result) = 0;
};
