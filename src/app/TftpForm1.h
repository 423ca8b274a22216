#pragma once

#include "app/FtpFormHost.h"
#include "app/ProgressPace.h"
#include "submit/FtpChannel.h"

#include <QWidget>

class QLineEdit;
class QListWidget;
class QPushButton;
class TFTP;

// "FTP Demo": the FTP driver form. It owns the client FTP1, traces the control connection in
// lTrace (and the main window's ftplist), and reports failures to the main window through
// ftperror and ftperrortext. The run never shows it: it fills the edit boxes and presses the
// buttons through the FtpChannel interface, as a user of the form would.
class TftpForm1 : public QWidget, public FtpChannel
{
    Q_OBJECT

public:
    explicit TftpForm1(FtpFormHost& main, QWidget* parent = nullptr);

    TFTP* FTP1;
    QLineEdit* tHost;
    QLineEdit* tUser;
    QLineEdit* tPasswd;
    QLineEdit* eRemotePath;
    QLineEdit* eRemoteFile;
    QLineEdit* eLocalFile;
    QListWidget* lFiles;
    QListWidget* lTrace;
    QPushButton* Button1; // &Change Directory
    QPushButton* Button2; // &Logon
    QPushButton* Button3; // L&ogoff
    QPushButton* Button4; // &Download file
    QPushButton* Button5; // &Upload file
    QPushButton* Button6; // Abor&t

    // Button handlers: the client's result, whose failure sets ftperror and ftperrortext; other
    // errors pass on.
    NetResult Button1Click();
    NetResult Button2Click();
    NetResult Button3Click();
    NetResult Button4Click();
    NetResult Button5Click();
    void Button6Click();

    // Skip and Cancel: aborts the action under way. Without a connection or an action there is
    // nothing to abort (a plain abort would log on first); a second press while the server does
    // not answer the first closes the connection.
    void abortTransfer();

    // FtpChannel
    void setHost(const QString& host) override;
    void setUser(const QString& user) override;
    void setPassword(const QString& password) override;
    void setLocalFile(const QString& file) override;
    void setRemoteFile(const QString& file) override;
    void setRemotePath(const QString& path) override;
    void setSiteCaFile(const QString& caFile) override;
    NetResult logon() override { return Button2Click(); }
    NetResult changeDirectory() override { return Button1Click(); }
    NetResult upload() override { return Button5Click(); }
    NetResult logoff() override { return Button3Click(); }
    bool failed() const override;
    QString failureText() const override;
    void clearFailure() override;
    void showLogon() override;
    void showTransfer(qint64 bytes) override;
    void fail(const QString& prefix, const NetResult& result) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void bindEvents();
    // Runs steps, which end with the client's result; a failure (also a property the client
    // refused) is flagged and its message traced after prefix.
    template <typename F>
    NetResult perform(const QString& prefix, F&& steps);
    static inline const QString Exception = QStringLiteral("EXCEPTION: ");
    // To lTrace and the main window's ftplist, each scrolled to its end.
    void traces(const QString& text);
    void addTrace(const QString& text);
    void FTP1FirePITrail(int direction, const QString& text);
    void FTP1Error(int code, const QString& text);
    void FTP1StartTransfer();
    void FTP1Transfer(qint64 count);
    void FTP1EndTransfer();
    void FTP1DirList(const QString& entry);

    FtpFormHost& m_main;
    ProgressPace m_transferPace; // the trace and status follow a transfer a few times a second
    qint64 m_untracedCount = -1; // the last count the pace held back, -1 when none
};
