// The mail client's errors become results and are raised again as the same class and message.
#include "net/MailResult.h"
#include "net/MailErrors.h"

#include <gtest/gtest.h>

#include <functional>
#include <typeinfo>

namespace {

TEST(MailResult, EachErrorClassComesBackAsItWasRaised)
{
    using K = NetResult::Kind;
    const std::pair<std::function<void()>, K> cases[] = {
        {[] { throw ESocketError(10061, QStringLiteral("Connection refused")); }, K::Socket},
        {[] { throw EMessageError(57002, QStringLiteral("Sender required")); }, K::MailMessage},
        {[] { throw EServerError(QStringLiteral("550 No such user")); }, K::MailReply},
        {[] { throw ETimedOutError(QStringLiteral("Operation timed out")); }, K::TimedOut},
        {[] { throw ECanceledError(QStringLiteral("Operation has been canceled")); }, K::Cancelled},
        {[] { throw EWinsockDLLError(QStringLiteral("No sockets")); }, K::System},
        {[] { throw QuilletError(QStringLiteral("Paragraph is too large")); }, K::Program},
    };
    for (const auto& [raise, kind] : cases) {
        try {
            raise();
        } catch (const QuilletError& caught) {
            const NetResult result = MailResult::of(caught);
            EXPECT_EQ(result.kind, kind) << caught.what();
            EXPECT_EQ(result.text, caught.message());
            try {
                MailResult::raise(result);
            } catch (const QuilletError& again) {
                EXPECT_EQ(typeid(again), typeid(caught)) << caught.what();
                EXPECT_EQ(again.message(), caught.message());
                if (const auto* socket = dynamic_cast<const ESocketError*>(&caught)) {
                    EXPECT_EQ(dynamic_cast<const ESocketError&>(again).code(), socket->code());
                }
                if (const auto* message = dynamic_cast<const EMessageError*>(&caught)) {
                    EXPECT_EQ(dynamic_cast<const EMessageError&>(again).id(), message->id());
                }
            }
        }
    }
    EXPECT_EQ(MailResult::of(EServerError(QStringLiteral("550 No such user"))).code, 550);
}

} // namespace
