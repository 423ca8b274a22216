#include "submit/PreviewFtpChannel.h"

#include "net/FtpHost.h"
#include "net/TFTP.h"
#include "submit/PreviewFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

const QString Exception = QStringLiteral("EXCEPTION: ");

} // namespace

PreviewFtpChannel::PreviewFtpChannel(FtpChannel& form, PreviewFolder& folder)
    : m_form(form)
    , m_folder(folder)
{
}

void PreviewFtpChannel::setHost(const QString& host)
{
    m_host = host;
    m_form.setHost(host);
}

void PreviewFtpChannel::setUser(const QString& user)
{
    m_user = user;
    m_form.setUser(user);
}

void PreviewFtpChannel::setPassword(const QString& password)
{
    m_password = password;
    m_form.setPassword(password);
}

void PreviewFtpChannel::setLocalFile(const QString& file)
{
    m_localFile = file;
    m_form.setLocalFile(file);
}

void PreviewFtpChannel::setRemoteFile(const QString& file)
{
    m_remoteFile = file;
    m_form.setRemoteFile(file);
}

void PreviewFtpChannel::setRemotePath(const QString& path)
{
    m_remotePath = path;
    m_form.setRemotePath(path);
}

QString PreviewFtpChannel::joinFolder(const QString& dir, const QString& path)
{
    const QString joined = path.startsWith(QLatin1Char('/')) ? path : dir + QLatin1Char('/') + path;
    // ".." at the root stays at the root (cleanPath would keep it), so nothing lands outside.
    QStringList parts;
    for (const QString& part : joined.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        if (part == QLatin1String("..")) {
            if (!parts.isEmpty())
                parts.removeLast();
        } else if (part != QLatin1String(".")) {
            parts.append(part);
        }
    }
    return QLatin1Char('/') + parts.join(QLatin1Char('/'));
}

NetResult PreviewFtpChannel::failWith(const QString& prefix, NetResult::Kind kind, int code, const QString& text)
{
    const NetResult result{kind, code, text};
    m_form.fail(prefix, result);
    return result;
}

NetResult PreviewFtpChannel::checkLogonValues()
{
    if (!TFTP::hasLineBreak(m_user) && !TFTP::hasLineBreak(m_password))
        return {};
    return failWith(Exception, NetResult::Kind::Client, TFTP::LineBreakInValue, TFTP::lineBreakText());
}

NetResult PreviewFtpChannel::logon()
{
    m_form.showLogon();
    m_hostName = FtpHost::parse(m_host).name;
    if (NetResult refused = checkLogonValues(); !refused.ok())
        return refused;
    m_connected = true;
    m_dir = QStringLiteral("/");
    setRemotePath(m_dir);
    return {};
}

NetResult PreviewFtpChannel::changeDirectory()
{
    // The form's button changes to its folder box joined with its file box, then lists it.
    const QString path = m_remotePath + QLatin1Char('/') + m_remoteFile;
    NetResult result;
    if (!m_connected) {
        setRemotePath(path);
    } else if (TFTP::hasLineBreak(path)) {
        result
            = failWith(QStringLiteral("ERR:"), NetResult::Kind::Client, TFTP::LineBreakInValue, TFTP::lineBreakText());
    } else {
        m_dir = joinFolder(m_dir, path);
        setRemotePath(m_dir);
    }
    setRemoteFile(QString());
    // Listing logs on first when there is no session.
    if (!m_connected) {
        if (NetResult refused = checkLogonValues(); !refused.ok())
            return refused;
        m_connected = true;
        m_dir = QStringLiteral("/");
    }
    return result;
}

NetResult PreviewFtpChannel::upload()
{
    if ((!m_connected && (TFTP::hasLineBreak(m_user) || TFTP::hasLineBreak(m_password)))
        || TFTP::hasLineBreak(m_remoteFile))
        return failWith(Exception, NetResult::Kind::Client, TFTP::LineBreakInValue, TFTP::lineBreakText());
    if (!m_connected) {
        m_connected = true;
        m_dir = QStringLiteral("/");
    }
    if (m_localFile.isEmpty())
        return failWith(Exception, NetResult::Kind::File, TFTP::LocalFileError,
            QStringLiteral("Please specify a local file for upload."));
    QFile file(m_localFile);
    if (!QFileInfo(m_localFile).isFile() || !file.open(QIODevice::ReadOnly))
        return failWith(
            Exception, NetResult::Kind::File, TFTP::LocalFileError, QStringLiteral("Error reading from local file."));
    QString host = m_hostName;
    host.replace(QLatin1Char('/'), QLatin1Char('_'));
    if (host.isEmpty() || host == QLatin1String(".") || host == QLatin1String(".."))
        host = QStringLiteral("_");
    const QString target = m_folder.folder() + QStringLiteral("/ftp/") + host
        + joinFolder(m_dir, m_remoteFile.isEmpty() ? QFileInfo(m_localFile).fileName() : m_remoteFile);
    QDir().mkpath(QFileInfo(target).absolutePath());
    QFile::remove(target);
    if (!file.copy(target))
        return failWith(
            Exception, NetResult::Kind::File, TFTP::LocalFileError, QStringLiteral("Cannot write %1").arg(target));
    m_folder.noteWritten(target);
    m_form.showTransfer(file.size());
    return {};
}
