#pragma once

#include "net/NetResult.h"

#include <QString>

// What the run's upload steps need of the FTP driver form: its edit boxes, its buttons, and the
// main window's error flag that the buttons set. Each button returns when its FTP operation has
// ended, with the client's result; an FTP failure is never raised from it, the result carries it
// and the flag and its text are set from it (later failures replace the text). Any other error
// passes on to the caller.
class FtpChannel
{
public:
    virtual ~FtpChannel() = default;

    // The edit boxes tHost ("host" or "host:port"), tUser, tPasswd, eLocalFile, eRemoteFile and
    // eRemotePath.
    virtual void setHost(const QString& host) = 0;
    virtual void setUser(const QString& user) = 0;
    virtual void setPassword(const QString& password) = 0;
    virtual void setLocalFile(const QString& file) = 0;
    virtual void setRemoteFile(const QString& file) = 0;
    virtual void setRemotePath(const QString& path) = 0;
    // The site's own authority for an ftps host (cat/catalogue.dat's CAFILE); empty: the one of
    // Check / Options.
    virtual void setSiteCaFile(const QString& caFile) { (void)caFile; }

    // The buttons "&Logon" (connects, logs on, lists the folder), "&Change Directory",
    // "&Upload file" and "L&ogoff".
    virtual NetResult logon() = 0;
    virtual NetResult changeDirectory() = 0;
    virtual NetResult upload() = 0;
    virtual NetResult logoff() = 0;

    // The main window's ftperror and ftperrortext.
    virtual bool failed() const = 0;
    virtual QString failureText() const = 0;
    virtual void clearFailure() = 0;

    // For a channel that stands in for the buttons (a preview), what the form shows of them:
    // the log-on's start (trace cleared, sockets layer loaded and reported, file list cleared),
    // a transfer of bytes (its begin, count and end events), and a failure (the flag and its text
    // set from the result, the trace given prefix + its "code: text").
    virtual void showLogon() { }
    virtual void showTransfer(qint64 bytes) { (void)bytes; }
    virtual void fail(const QString& prefix, const NetResult& result) { (void)prefix, (void)result; }
};
