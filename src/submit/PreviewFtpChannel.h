#pragma once

#include "submit/FtpChannel.h"

class PreviewFolder;

// A preview's FTP channel: no connection is made; log-on and folder changes are only noted, and
// an upload copies the local file into the preview folder as ftp/<host>/<folder>/<file>. The edit
// boxes, the failure flag and what the form shows are the form's own.
class PreviewFtpChannel : public FtpChannel
{
public:
    PreviewFtpChannel(FtpChannel& form, PreviewFolder& folder);

    void setHost(const QString& host) override;
    void setUser(const QString& user) override;
    void setPassword(const QString& password) override;
    void setLocalFile(const QString& file) override;
    void setRemoteFile(const QString& file) override;
    void setRemotePath(const QString& path) override;
    void setSiteCaFile(const QString& caFile) override { m_form.setSiteCaFile(caFile); }

    NetResult logon() override;
    NetResult changeDirectory() override;
    NetResult upload() override;
    NetResult logoff() override
    {
        m_connected = false;
        return {};
    }

    bool failed() const override { return m_form.failed(); }
    QString failureText() const override { return m_form.failureText(); }
    void clearFailure() override { m_form.clearFailure(); }

    // path taken from the working folder dir, never above the root ("/a/b").
    static QString joinFolder(const QString& dir, const QString& path);

private:
    // A log-on value with a line break fails as the client fails it.
    NetResult checkLogonValues();
    NetResult failWith(const QString& prefix, NetResult::Kind kind, int code, const QString& text);

    FtpChannel& m_form;
    PreviewFolder& m_folder;
    // The form's boxes as set.
    QString m_host;
    QString m_user;
    QString m_password;
    QString m_localFile;
    QString m_remoteFile;
    QString m_remotePath;
    // The session as the client would hold it.
    QString m_hostName; // from the host box at the last log-on
    bool m_connected = false;
    QString m_dir = QStringLiteral("/");
};
