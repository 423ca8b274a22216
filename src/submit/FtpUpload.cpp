#include "submit/FtpUpload.h"

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
    m_refused.clear();
    m_window.setText(RunControl::ftpstatus, statusText);
    m_ftp.setHost(host);
    m_ftp.setUser(user);
    m_ftp.setPassword(password);
    m_ftp.setLocalFile(localFile);
    m_ftp.setRemoteFile(QString());
    m_ftp.logon();
}

void FtpUpload::changeDirectory(const QString& folder)
{
    m_ftp.setRemotePath(folder);
    m_ftp.changeDirectory();
}

void FtpUpload::setRemotePath(const QString& folder)
{
    m_ftp.setRemotePath(folder);
}

void FtpUpload::upload(const QString& remotePrefix, const QString& name, const QString& localFile)
{
    if (!localFile.isEmpty())
        m_ftp.setLocalFile(localFile);
    const QString file = lastComponent(name);
    if (file.isEmpty() || file == QLatin1String(".") || file == QLatin1String("..")) {
        m_refused = QStringLiteral("No file name to upload under: \"%1\"").arg(name);
        return;
    }
    m_refused.clear();
    m_ftp.setRemoteFile(remotePrefix + file);
    m_ftp.upload();
}

bool FtpUpload::logResult(const QString& uploadedLine, const QString& errorText)
{
    const bool ok = !m_ftp.failed() && m_refused.isEmpty();
    if (ok)
        m_window.appendLog(uploadedLine);
    else
        m_window.appendLog(
            m_logName + QStringLiteral(": ") + errorText + (m_ftp.failed() ? m_ftp.failureText() : m_refused));
    m_ftp.clearFailure();
    m_refused.clear();
    m_window.processMessages();
    return ok;
}

void FtpUpload::logoff(const QString& statusText)
{
    m_window.setText(RunControl::ftpstatus, statusText);
    m_ftp.logoff();
    m_window.setText(RunControl::ftpstatus, QStringLiteral("Idle"));
}

QString FtpUpload::lastComponent(const QString& name)
{
    const qsizetype cut = std::max(name.lastIndexOf(QLatin1Char('/')), name.lastIndexOf(QLatin1Char('\\')));
    return name.mid(cut + 1);
}
