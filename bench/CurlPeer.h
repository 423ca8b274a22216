// The benchmarks' peer: libcurl in this process making the same transfer Quillet's client makes, on
// a connection of its own each time, so that the two sides differ only in the client's own work.
#pragma once

#include <QString>
#include <QStringList>

struct CurlTransfer
{
    QString url; // http(s)://, ftp:// or smtp://
    QString uploadFile; // the file POSTed, uploaded, or sent as the message
    QString contentType; // HTTP
    bool activeFtp = false; // FTP: active mode (PORT), as Quillet uploads
    QString caFile; // an extra trusted authority
    bool requireTls = false; // FTP and SMTP: AUTH TLS / STARTTLS demanded
    QString user, password; // FTP and SMTP log-in
    QString mailFrom; // SMTP envelope
    QStringList mailTo;
};

// Performs the transfer; false, with the reason on stderr, when it fails.
bool curlPerform(const CurlTransfer& transfer);
// The same, timed: its wall-clock seconds, or -1 when it failed.
double curlSeconds(const CurlTransfer& transfer);
