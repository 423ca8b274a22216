#pragma once

class FtpChannel;
class HttpChannel;
class MailChannel;

// The transports a run hands to each recipe, one per protocol.
struct Channels
{
    HttpChannel& http;
    FtpChannel& ftp;
    MailChannel& mail;
};
