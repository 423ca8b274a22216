#include "batch/FtpClientChannel.h"

#include "batch/ReplyCapture.h"
#include "core/Dialogs.h"
#include "net/TFTP.h"
#include "submit/SiteReport.h"

#include <QDir>

#include <algorithm>

FtpClientChannel::FtpClientChannel(FtpFormHost& host, TFTP* client)
    : FTP1(client)
    , m_host(host)
{
    FTP1->setTransferMode(tmBinary);
    bindEvents();
    // The client's remote file follows the field from the start.
    FTP1->setRemoteFile(field(Field::RemoteFile));
}

void FtpClientChannel::bindEvents()
{
    // The client's events run inside its waits: nothing they raise may travel into the client.
    QObject::connect(FTP1, &TFTP::OnFirePITrail, FTP1,
        [this](int direction, const QString& text) { guarded([&] { firePITrail(direction, text); }); });
    QObject::connect(
        FTP1, &TFTP::OnError, FTP1, [this](int code, const QString& text) { guarded([&] { error(code, text); }); });
    QObject::connect(FTP1, &TFTP::OnStartTransfer, FTP1, [this] { guarded([&] { startTransfer(); }); });
    QObject::connect(
        FTP1, &TFTP::OnTransfer, FTP1, [this](qint64 count, const QByteArray&) { guarded([&] { transfer(count); }); });
    QObject::connect(FTP1, &TFTP::OnEndTransfer, FTP1, [this] { guarded([&] { endTransfer(); }); });
    QObject::connect(FTP1, &TFTP::OnDirList, FTP1, [this](const QString& entry) { guarded([&] { dirList(entry); }); });
}

QString FtpClientChannel::field(Field f) const
{
    return m_fields[static_cast<int>(f)];
}

void FtpClientChannel::setField(Field f, const QString& text)
{
    m_fields[static_cast<int>(f)] = text;
}

template <typename F>
NetResult FtpClientChannel::perform(const QString& prefix, F&& steps)
{
    NetResult result;
    try {
        result = steps();
    } catch (const EFTP&) {
        // A property the client refused (a host or folder while busy): its result says why.
        result = FTP1->result();
    }
    if (!result.ok())
        fail(prefix, result);
    return result;
}

void FtpClientChannel::fail(const QString& prefix, const NetResult& result)
{
    const QString text = result.message();
    m_host.setFtperrortext(text);
    m_host.setFtperror(true);
    addTrace(prefix + text);
}

void FtpClientChannel::showLogon()
{
    clearTrace();
    addTrace(QStringLiteral("Loading Winsock"));
    FTP1->setWinsockLoaded(true);
    addTrace(FTP1->WinsockInfo() + FTP1->WinsockStatus());
    clearFiles();
}

void FtpClientChannel::showTransfer(qint64 bytes)
{
    // As the client's events arrive: each at its own boundary.
    guarded([&] { startTransfer(); });
    guarded([&] { transfer(bytes); });
    guarded([&] { endTransfer(); });
}

NetResult FtpClientChannel::Logon()
{
    setBusy(true);
    const struct Idle
    {
        FtpClientChannel& channel;
        ~Idle() { channel.setBusy(false); }
    } idle{*this};
    showLogon();
    return perform(Exception, [this] {
        FTP1->setUser(field(Field::User));
        FTP1->setPassword(field(Field::Password));
        FTP1->setRemoteHost(field(Field::Host));
        if (const NetResult loggedOn = FTP1->run(ftpLogon); !loggedOn.ok())
            return loggedOn;
        setField(Field::RemotePath, FTP1->RemotePath());
        return FTP1->run(ftpListDirectory);
    });
}

NetResult FtpClientChannel::Upload()
{
    return perform(Exception, [this] {
        FTP1->setLocalFile(field(Field::LocalFile));
        return FTP1->run(ftpUpload);
    });
}

NetResult FtpClientChannel::Download()
{
    return perform(Exception, [this] {
        FTP1->setLocalFile(field(Field::LocalFile));
        return FTP1->run(ftpDownload);
    });
}

NetResult FtpClientChannel::Logoff()
{
    return perform(Exception, [this] { return FTP1->run(ftpLogoff); });
}

NetResult FtpClientChannel::ChangeDirectory()
{
    const NetResult changed = perform(QStringLiteral("ERR:"), [this] {
        FTP1->setRemotePath(field(Field::RemotePath) + QLatin1Char('/') + field(Field::RemoteFile));
        setField(Field::RemotePath, FTP1->RemotePath());
        return NetResult();
    });
    clearFiles();
    const NetResult listed = perform(Exception, [this] {
        setField(Field::RemoteFile, QString());
        FTP1->setRemoteFile(QString());
        return FTP1->run(ftpListDirectory);
    });
    // The later failure is the one the flag's text keeps.
    return listed.ok() ? changed : listed;
}

void FtpClientChannel::abortTransfer()
{
    if (!FTP1->isConnected() && !FTP1->isBusy())
        return;
    // The aborted action reports its own failure; the ABOR exchange has nothing to add.
    try {
        FTP1->setAction(ftpAbort);
    } catch (const EFTP& e) {
        addTrace(Exception + e.message());
    }
}

void FtpClientChannel::setRemoteFile(const QString& file)
{
    setField(Field::RemoteFile, file);
    // The client follows even when the text did not change.
    FTP1->setRemoteFile(file);
}

void FtpClientChannel::setSiteCaFile(const QString& caFile)
{
    FTP1->setCAFile(caFile.isEmpty() ? m_host.caFile() : caFile);
}

bool FtpClientChannel::failed() const
{
    return m_host.ftperror();
}

QString FtpClientChannel::failureText() const
{
    return m_host.ftperrortext();
}

void FtpClientChannel::clearFailure()
{
    m_host.setFtperror(false);
}

void FtpClientChannel::traces(const QString& text)
{
    addTrace(text);
    m_host.addFtpTrace(text);
}

void FtpClientChannel::firePITrail(int direction, const QString& text)
{
    static const char* const prefixes[] = {"CLIENT: ", "SERVER: ", "INFO: "};
    traces(QString::fromLatin1(prefixes[std::clamp(direction, 0, 2)]) + text);
}

void FtpClientChannel::error(int code, const QString& text)
{
    traces(QStringLiteral("ERR Event: ") + QString::number(code) + text);
    m_host.setFtpStatus(QStringLiteral("FTP Error"));
}

void FtpClientChannel::startTransfer()
{
    m_host.clearFtpTrace();
    m_transferPace.restart();
    m_untracedCount = -1;
    traces(QStringLiteral("TRANSFER BEGIN."));
    m_host.setFtpStatus(QStringLiteral("Starting Transfer"));
}

void FtpClientChannel::transfer(qint64 count)
{
    if (!m_transferPace.due()) {
        m_untracedCount = count;
        return;
    }
    m_untracedCount = -1;
    addTrace(QStringLiteral("TRANSFER: ") + QString::number(count) + QStringLiteral(" Bytes"));
    m_host.setFtpStatus(QStringLiteral("Bytes Transfered: ") + QString::number(count));
}

void FtpClientChannel::endTransfer()
{
    // The final count, when the pace held it back.
    if (m_untracedCount >= 0) {
        m_transferPace.restart();
        transfer(m_untracedCount);
    }
    traces(QStringLiteral("TRANSFER END."));
    if (!m_host.debugmode())
        return;
    const QStringList lines = m_host.ftpTrace();
    writeReplyCapture(QDir::currentPath(), QStringLiteral(".txt"), lines);
    m_host.report().reply(lines.join(QLatin1Char('\n')));
}

void FtpClientChannel::dirList(const QString& entry)
{
    addFile(entry);
    m_host.setFtpStatus(QStringLiteral("Getting Directory Info"));
}
