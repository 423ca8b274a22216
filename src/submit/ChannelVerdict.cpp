#include "submit/ChannelVerdict.h"

ChannelVerdict ChannelVerdict::of(Channel channel, const NetResult& result, bool cancelRequested)
{
    if (result.ok())
        return {};
    if (channel == Channel::Http && result.kind == NetResult::Kind::Http && result.httpStatus == 302)
        return {Outcome::Redirected, {}, false};
    const bool mail = channel == Channel::Mail;
    const bool cancelled = mail && result.kind == NetResult::Kind::Cancelled && cancelRequested;
    return {cancelled ? Outcome::Cancelled : Outcome::Failed, mail ? result.text : result.message(), mail};
}
