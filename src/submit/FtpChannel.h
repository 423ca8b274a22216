#pragma once

// What a recipe needs of the FTP driver form: log on, change folder, upload, log off.
class FtpChannel
{
public:
    virtual ~FtpChannel() = default;
};
