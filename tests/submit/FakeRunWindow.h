#pragma once

#include "net/THTTP.h"
#include "net/TmsMessage.h"
#include "net/TmsSMTP.h"
#include "submit/Channels.h"
#include "submit/FtpChannel.h"
#include "submit/HttpClientChannel.h"
#include "submit/RunWindow.h"
#include "submit/SmtpClientChannel.h"
#include "submit/SubmissionRun.h"

#include <QMap>
#include <QStringList>

#include <functional>

// An FTP channel that does nothing: the run's HTTP tests have no upload steps.
class NullFtpChannel : public FtpChannel
{
public:
    void setHost(const QString&) override { }
    void setUser(const QString&) override { }
    void setPassword(const QString&) override { }
    void setLocalFile(const QString&) override { }
    void setRemoteFile(const QString&) override { }
    void setRemotePath(const QString&) override { }
    NetResult logon() override { return {}; }
    NetResult changeDirectory() override { return {}; }
    NetResult upload() override { return {}; }
    NetResult logoff() override { return {}; }
    bool failed() const override { return false; }
    QString failureText() const override { return {}; }
    void clearFailure() override { }
};

// The main window as a map of control texts and tick boxes, recording what the run shows.
// Its HTTP client is a real one, handed to the run as its HTTP channel.
class FakeRunWindow : public RunWindow
{
public:
    QString text(const QString& control) const override { return texts.value(control); }
    void setText(const QString& control, const QString& text) override;
    bool isChecked(const QString& control) const override { return checks.value(control); }
    void setChecked(const QString& control, bool checked) override { checks[control] = checked; }
    void setLamp(const QString& lamp, bool lit) override { lamps[lamp] = lit; }
    void clearList(const QString& list) override;
    void appendLog(const QString& line) override;
    void setBusy(bool busy) override;
    void processMessages() override;
    bool cancelFlag() const override { return cancel; }
    void setCancelFlag(bool set) override { cancel = set; }
    bool debugMode() const override { return debug; }
    void debugEcho(const QString& text) override { echoes.append(text); }
    QString basedir() const override { return base; }
    TextEncoding recordEncoding() const override { return encoding; }
    void savesettings() override { events.append(QStringLiteral("savesettings")); }
    void getsettings() override;
    void savesite() override { events.append(QStringLiteral("savesite")); }

    // A record that passes the four checks, with an archive file at localpath inside base.
    void fillValidRecord();

    QMap<QString, QString> texts;
    QMap<QString, bool> checks;
    QMap<QString, bool> lamps;
    QStringList log;
    // Every text shown in a control, as "control=text", and the start steps, in order.
    QStringList events;
    QStringList echoes;
    bool cancel = false;
    bool debug = false;
    bool busy = false;
    int busyChanges = 0;
    TextEncoding encoding = TextEncoding::Utf8;
    QString base;
    THTTP client;
    HttpClientChannel httpChannel{client};
    NullFtpChannel ftpChannel;
    TmsSMTP mailClient;
    TmsMessage mailMessage;
    SmtpClientChannel mailChannel{mailClient, mailMessage};
    Channels channels{httpChannel, ftpChannel, mailChannel};
    SubmissionRun submission;

    // Called on each pump and on each text shown; tests use them to act during a run.
    std::function<void()> onPump;
    std::function<void(const QString& control, const QString& text)> onText;
    std::function<void()> getsettingsFails;
};
