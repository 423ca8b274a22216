#pragma once

#include <QString>

// The FTP form's host box: "host", "host:port", "ftps://host[:port][/]" (surrounding blanks
// ignored). A port outside 1..65535 is no port: it stays part of the name.
struct FtpHost
{
    QString name;
    bool secure = false; // "ftps://": TLS from the start of the session
    quint16 port = 0; // 0: none given

    static FtpHost parse(const QString& text);
};
