#pragma once

#include "batch/FtpFormHost.h"
#include "batch/ProgressPace.h"
#include "submit/FtpChannel.h"

#include <QObject>
#include <QString>

class TFTP;

// The FTP channel straight over the client: the driver form's edit boxes as fields, its buttons'
// steps and failure texts, and the client's events traced into the run's FTP trace. The driver
// form is a view over it: it keeps the fields in its edit boxes and shows its own trace and file
// list through the hooks below; a run without the window uses it as it is.
class FtpClientChannel : public FtpChannel
{
public:
    enum class Field { Host, User, Password, LocalFile, RemoteFile, RemotePath };

    // client: the FTP client, owned by the caller and living as long as this channel.
    FtpClientChannel(FtpFormHost& host, TFTP* client);
    virtual ~FtpClientChannel() = default;

    TFTP* FTP1;

    // The buttons' steps: the client's result, whose failure sets ftperror and ftperrortext; other
    // errors pass on.
    NetResult Logon();
    NetResult ChangeDirectory();
    NetResult Upload();
    NetResult Download();
    NetResult Logoff();
    // Skip and Cancel: aborts the action under way. Without a connection or an action there is
    // nothing to abort (a plain abort would log on first); a second press while the server does
    // not answer the first closes the connection.
    void abortTransfer();

    // FtpChannel
    void setHost(const QString& host) override { setField(Field::Host, host); }
    void setUser(const QString& user) override { setField(Field::User, user); }
    void setPassword(const QString& password) override { setField(Field::Password, password); }
    void setLocalFile(const QString& file) override { setField(Field::LocalFile, file); }
    void setRemoteFile(const QString& file) override;
    void setRemotePath(const QString& path) override { setField(Field::RemotePath, path); }
    void setSiteCaFile(const QString& caFile) override;
    NetResult logon() override { return Logon(); }
    NetResult changeDirectory() override { return ChangeDirectory(); }
    NetResult upload() override { return Upload(); }
    NetResult logoff() override { return Logoff(); }
    bool failed() const override;
    QString failureText() const override;
    void clearFailure() override;
    void showLogon() override;
    void showTransfer(qint64 bytes) override;
    void fail(const QString& prefix, const NetResult& result) override;

protected:
    // The fields, kept here unless a view keeps them.
    virtual QString field(Field f) const;
    virtual void setField(Field f, const QString& text);
    // The view's own trace and file list, and its hourglass; nothing here.
    virtual void addTrace(const QString&) { }
    virtual void clearTrace() { }
    virtual void addFile(const QString&) { }
    virtual void clearFiles() { }
    virtual void setBusy(bool) { }

    static inline const QString Exception = QStringLiteral("EXCEPTION: ");

private:
    // Runs steps, which end with the client's result; a failure (also a property the client
    // refused) is flagged and its message traced after prefix.
    template <typename F>
    NetResult perform(const QString& prefix, F&& steps);
    // To the view's trace and the run's.
    void traces(const QString& text);
    void bindEvents();
    void firePITrail(int direction, const QString& text);
    void error(int code, const QString& text);
    void startTransfer();
    void transfer(qint64 count);
    void endTransfer();
    void dirList(const QString& entry);

    FtpFormHost& m_host;
    QString m_fields[6];
    ProgressPace m_transferPace; // the trace and status follow a transfer a few times a second
    qint64 m_untracedCount = -1; // the last count the pace held back, -1 when none
};
