#pragma once

#include "batch/FtpClientChannel.h"

#include <QWidget>

class QLineEdit;
class QListWidget;
class QPushButton;

// "FTP Demo": the FTP driver form, a view over its channel. It owns the client FTP1, keeps the
// channel's fields in its edit boxes, traces the control connection in lTrace (and the run's
// FTP trace), and reports failures through its host's ftperror and ftperrortext. The run never
// shows it: it fills the edit boxes and presses the buttons through the FtpChannel interface, as
// a user of the form would.
class TftpForm1 : public QWidget, public FtpClientChannel
{
    Q_OBJECT

public:
    explicit TftpForm1(FtpFormHost& main, QWidget* parent = nullptr);

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
    NetResult Button1Click() { return ChangeDirectory(); }
    NetResult Button2Click() { return Logon(); }
    NetResult Button3Click() { return Logoff(); }
    NetResult Button4Click() { return Download(); }
    NetResult Button5Click() { return Upload(); }
    void Button6Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    QString field(Field f) const override;
    void setField(Field f, const QString& text) override;
    void addTrace(const QString& text) override;
    void clearTrace() override;
    void addFile(const QString& entry) override;
    void clearFiles() override;
    void setBusy(bool busy) override;

private:
    QLineEdit* edit(Field f) const;
    void bindEvents();
};
