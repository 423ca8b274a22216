#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

#include "net/NetResult.h"

// What a recipe needs of an HTTP client: one request at a time to one address. A request returns
// the client's result (a redirect is told by its status); a failure is not raised. A client told
// not to raise its errors (RaiseErrors off) reports none here either.
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
    // Performs the request and returns its result when it is complete.
    virtual NetResult send(Method method, const QByteArray& body) = 0;
    // Ends whatever the client is doing and leaves it idle.
    virtual void idle() = 0;

    // For a channel that stands in for this one (a preview): the bytes send() would put on the
    // wire (head, body, attached file), or nothing when the client turns the request down;
    // *refused is then what send() would have returned.
    virtual std::optional<QByteArray> request(Method method, const QByteArray& body, NetResult* refused) = 0;
    // Ends a request that was not sent as the client ends one, and returns what send() would: a
    // failure as the client reports it, success as an answer without a word.
    virtual NetResult answered(const NetResult& result) = 0;
};
