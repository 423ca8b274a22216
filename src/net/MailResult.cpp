#include "net/MailResult.h"

#include "net/MailErrors.h"

namespace MailResult {

NetResult of(const QuilletError& error)
{
    const QString& text = error.message();
    if (const auto* socket = dynamic_cast<const ESocketError*>(&error))
        return {NetResult::Kind::Socket, socket->code(), text};
    if (const auto* message = dynamic_cast<const EMessageError*>(&error))
        return {NetResult::Kind::MailMessage, message->id(), text};
    if (dynamic_cast<const EServerError*>(&error))
        return {NetResult::Kind::MailReply, text.left(3).toInt(), text};
    if (dynamic_cast<const ETimedOutError*>(&error))
        return {NetResult::Kind::TimedOut, 0, text};
    if (dynamic_cast<const ECanceledError*>(&error))
        return {NetResult::Kind::Cancelled, 0, text};
    if (dynamic_cast<const EWinsockDLLError*>(&error))
        return {NetResult::Kind::System, 0, text};
    return {NetResult::Kind::Program, 0, text};
}

void raise(const NetResult& result)
{
    switch (result.kind) {
    case NetResult::Kind::Socket:
        throw ESocketError(result.code, result.text);
    case NetResult::Kind::MailMessage:
        throw EMessageError(result.code, result.text);
    case NetResult::Kind::MailReply:
        throw EServerError(result.text);
    case NetResult::Kind::TimedOut:
        throw ETimedOutError(result.text);
    case NetResult::Kind::Cancelled:
        throw ECanceledError(result.text);
    case NetResult::Kind::System:
        throw EWinsockDLLError(result.text);
    default:
        throw QuilletError(result.text);
    }
}

} // namespace MailResult
