#include "submit/FtpUpload.h"

#include "submit/ArchiveCheck.h"
#include "submit/ChannelVerdict.h"

#include "submit/FtpChannel.h"
#include "submit/RunControls.h"
#include "submit/RunWindow.h"

FtpUpload::FtpUpload(RunWindow& window, FtpChannel& ftp, const QString& logName)
    : m_window(window)
    , m_ftp(ftp)
    , m_logName(logName)
{
}

void FtpUpload::logon(const QString& statusText, const QString& host, const QString& user, const QString& password,
    const QString& localFile)
{
    m_ftp.clearFailure();
    m_failure = {};
    m_refused.clear();
    m_failedStep.clear();
    m_logonFailure.clear();
    m_window.report().channel(QStringLiteral("FTP"));
    m_window.setText(RunControl::ftpstatus, statusText);
    m_ftp.setHost(host);
    m_ftp.setUser(user);
    m_ftp.setPassword(password);
    m_ftp.setLocalFile(localFile);
    m_localFile = localFile;
    m_ftp.setRemoteFile(QString());
    take(m_ftp.logon());
    noteStep(QStringLiteral("FTP log-on"));
    if (!m_failure.ok())
        m_logonFailure = m_failure.message();
}

void FtpUpload::changeDirectory(const QString& folder)
{
    if (failWithLogon(QStringLiteral("FTP change folder")))
        return;
    m_ftp.setRemotePath(folder);
    take(m_ftp.changeDirectory());
    noteStep(QStringLiteral("FTP change folder"));
}

void FtpUpload::setRemotePath(const QString& folder)
{
    m_ftp.setRemotePath(folder);
}

void FtpUpload::upload(const QString& remotePrefix, const QString& name, const QString& localFile)
{
    if (!localFile.isEmpty()) {
        m_ftp.setLocalFile(localFile);
        m_localFile = localFile;
    }
    const QString file = lastComponent(name);
    if (file.isEmpty() || file == QLatin1String(".") || file == QLatin1String("..")) {
        m_refused = QStringLiteral("No file name to upload under: \"%1\"").arg(name);
        noteStep(QStringLiteral("FTP upload"));
        return;
    }
    if (failWithLogon(QStringLiteral("FTP upload")))
        return;
    // An archive is read before it goes: a damaged one would arrive damaged and count as sent.
    if (!m_archive.isEmpty() && m_localFile == m_archive) {
        m_refused = ArchiveCheck::problem(m_localFile);
        if (!m_refused.isEmpty()) {
            noteStep(QStringLiteral("FTP upload"));
            return;
        }
    }
    m_refused.clear();
    m_ftp.setRemoteFile(remotePrefix + file);
    m_window.report().attempted();
    take(m_ftp.upload());
    noteStep(QStringLiteral("FTP upload"));
}

bool FtpUpload::logResult(const QString& uploadedLine, const QString& errorText)
{
    const ChannelVerdict verdict = ChannelVerdict::of(ChannelVerdict::Channel::Ftp, m_failure);
    const bool ok = verdict.sent() && m_refused.isEmpty();
    if (ok) {
        m_window.appendLog(uploadedLine);
    } else {
        const QString line
            = m_logName + QStringLiteral(": ") + errorText + (verdict.sent() ? m_refused : verdict.failure);
        m_window.appendLog(line);
        m_window.report().failed(m_failedStep.isEmpty() ? QStringLiteral("FTP upload") : m_failedStep, line);
    }
    m_failedStep.clear();
    m_ftp.clearFailure();
    m_failure = {};
    m_refused.clear();
    m_window.processMessages();
    return ok;
}

void FtpUpload::logoff(const QString& statusText)
{
    m_window.setText(RunControl::ftpstatus, statusText);
    // A failed log-on left no session to end.
    if (m_logonFailure.isEmpty())
        take(m_ftp.logoff());
    m_window.setText(RunControl::ftpstatus, QStringLiteral("Idle"));
}

void FtpUpload::take(const NetResult& result)
{
    // Later failures replace the text, as they do the form's flag.
    if (!result.ok())
        m_failure = result;
}

void FtpUpload::noteStep(const QString& step)
{
    if (m_failedStep.isEmpty() && (!m_failure.ok() || !m_refused.isEmpty()))
        m_failedStep = step;
}

bool FtpUpload::failWithLogon(const QString& step)
{
    if (m_logonFailure.isEmpty())
        return false;
    if (m_failure.ok() && m_refused.isEmpty())
        m_refused = m_logonFailure;
    noteStep(step);
    return true;
}

QString FtpUpload::lastComponent(const QString& name)
{
    const qsizetype cut = std::max(name.lastIndexOf(QLatin1Char('/')), name.lastIndexOf(QLatin1Char('\\')));
    return name.mid(cut + 1);
}
