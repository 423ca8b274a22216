// What a channel's result comes to for the run, decided in one place for all three channels.
#include "submit/ChannelVerdict.h"

#include <gtest/gtest.h>

namespace {

TEST(ChannelVerdict, EachChannelsResultComesToItsOutcome)
{
    using C = ChannelVerdict::Channel;
    using K = NetResult::Kind;
    using O = ChannelVerdict::Outcome;
    struct Case
    {
        C channel;
        NetResult result;
        bool cancelRequested;
        O outcome;
        const char* failure;
        bool endsSiteSteps;
    };
    const QString canceled = QStringLiteral("Operation has been canceled");
    const Case cases[] = {
        // A redirect is told by its status, whatever the wording.
        {C::Http, {K::Http, 151, QStringLiteral("302 Found"), 302}, false, O::Redirected, "", false},
        {C::Http, {K::Http, 151, QStringLiteral("302 Document Found"), 302}, false, O::Redirected, "", false},
        {C::Http, {K::Http, 151, QStringLiteral("404 Not Found"), 404}, false, O::Failed, "151: 404 Not Found", false},
        {C::Http, {K::Http, 151, QStringLiteral("No answer."), 0}, false, O::Failed, "151: No answer.", false},
        // The file error that shares the number is no answer at all.
        {C::Http, {K::File, 302, QStringLiteral("Can't open file for reading."), 0}, false, O::Failed,
            "302: Can't open file for reading.", false},
        {C::Http, {K::Ok, 0, QString(), 200}, false, O::Sent, "", false},
        // Cancel ends the run; a Skip cancels only the mail under way.
        {C::Mail, {K::Cancelled, 0, canceled}, true, O::Cancelled, "Operation has been canceled", true},
        {C::Mail, {K::Cancelled, 0, canceled}, false, O::Failed, "Operation has been canceled", true},
        {C::Mail, {K::MailReply, 550, QStringLiteral("550 No such user")}, false, O::Failed, "550 No such user", true},
        {C::Mail, {}, true, O::Sent, "", false},
        // An FTP failure fails the site, never the run, even while Cancel is pressed.
        {C::Ftp, {K::FtpReply, 550, QStringLiteral("Permission denied.")}, true, O::Failed, "550: Permission denied.",
            false},
        {C::Ftp, {K::Cancelled, 301, QStringLiteral("Interrupted")}, true, O::Failed, "301: Interrupted", false},
    };
    for (const Case& c : cases) {
        const ChannelVerdict verdict = ChannelVerdict::of(c.channel, c.result, c.cancelRequested);
        const std::string context = c.result.message().toStdString();
        EXPECT_EQ(verdict.outcome, c.outcome) << context;
        EXPECT_EQ(verdict.failure, QString::fromUtf8(c.failure)) << context;
        EXPECT_EQ(verdict.endsSiteSteps, c.endsSiteSteps) << context;
        EXPECT_EQ(verdict.sent(), c.outcome == O::Sent || c.outcome == O::Redirected) << context;
    }
}

} // namespace
