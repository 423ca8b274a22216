#pragma once

#include "submit/Channels.h"
#include "submit/PreviewFolder.h"
#include "submit/PreviewFtpChannel.h"
#include "submit/PreviewHttpChannel.h"
#include "submit/PreviewMailChannel.h"

// The transports of a preview run: each protocol's stand-in over the real channel, all writing
// into one folder that keeps the list of what was written.
struct PreviewChannels
{
    PreviewChannels(Channels& clients, const QString& folderPath)
        : folder(folderPath)
        , http(clients.http, folder)
        , ftp(clients.ftp, folder)
        , mail(clients.mail, folder)
        , channels{http, ftp, mail}
    {
    }

    PreviewFolder folder;
    PreviewHttpChannel http;
    PreviewFtpChannel ftp;
    PreviewMailChannel mail;
    Channels channels;
};
