#include "batch/RecordRun.h"

#include "batch/FtpClientChannel.h"
#include "batch/MailFormIni.h"
#include "batch/RecordCheck.h"
#include "batch/RunTimeouts.h"
#include "batch/SettingsFile.h"
#include "core/Dialogs.h"
#include "core/Errors.h"
#include "net/NetworkWait.h"
#include "net/TFTP.h"
#include "net/THTTP.h"
#include "net/TagRas.h"
#include "net/TmsMessage.h"
#include "net/TmsSMTP.h"
#include "submit/Channels.h"
#include "submit/HttpClientChannel.h"
#include "submit/RunReport.h"
#include "submit/SmtpClientChannel.h"

namespace {

// The run's mail channel: no setup dialog to show, so it says what is missing.
class BatchMailChannel : public SmtpClientChannel
{
public:
    using SmtpClientChannel::SmtpClientChannel;
    void showSetup() override { dialogs().showMessage(NoServerMessage); }
};

} // namespace

// The FTP driver form's host without the window: the error flag, the trace and the status.
class RecordRun::Transports : public FtpFormHost
{
public:
    explicit Transports(RecordRun& run)
        : m_run(run)
        , ftp(*this, &ftpClient)
        , http(httpClient)
        , mail(smtpClient, message, SmtpClientChannel::Body::AsMemoHoldsIt)
        , channels{http, ftp, mail}
    {
        // The message as the mail form sets it up.
        smtpClient.RAS = &ras;
        message.setContentType(QStringLiteral("text/plain"));
        message.ReturnReceipt = false;
        const MailFormIni::Setup setup = MailFormIni::read();
        message.CharSet = setup.charSet;
        message.Encoding = setup.encoding;
    }

    bool ftperror() const override { return m_ftperror; }
    void setFtperror(bool set) override { m_ftperror = set; }
    const QString& ftperrortext() const override { return m_ftperrortext; }
    void setFtperrortext(const QString& text) override { m_ftperrortext = text; }
    QString caFile() const override { return m_run.window().text(QStringLiteral("cafileedit")); }
    void addFtpTrace(const QString& line) override { m_trace.append(line); }
    void clearFtpTrace() override { m_trace.clear(); }
    QStringList ftpTrace() const override { return m_trace; }
    void setFtpStatus(const QString&) override { }
    bool debugmode() const override { return false; }
    SiteReport& report() override { return m_run.submission().report(); }

private:
    RecordRun& m_run;
    bool m_ftperror = false;
    QString m_ftperrortext;
    QStringList m_trace;

public:
    THTTP httpClient;
    TmsSMTP smtpClient;
    TmsMessage message;
    TagRas ras;
    TFTP ftpClient;
    FtpClientChannel ftp;
    HttpClientChannel http;
    BatchMailChannel mail;
    Channels channels;
};

RecordRun::RecordRun(const QString& basedir, const QString& program)
    : m_basedir(basedir)
    , m_userSites(UserSites::load(basedir))
    , m_window(std::make_unique<RecordRunWindow>(basedir, program, &m_userSites))
{
    m_transports = std::make_unique<Transports>(*this);
    m_window->setFtpTraceClear([this] { m_transports->clearFtpTrace(); });
    // The CA file and the proxy of the Check / Options page, handed to the clients. A proxy port
    // that is no port number raises the conversion error, after everything else is set.
    m_window->setSettingsHandler([this](const RunWindow& w) {
        const QString caFile = w.text(QStringLiteral("cafileedit"));
        m_transports->httpClient.setCAFile(caFile);
        m_transports->ftpClient.setCAFile(caFile);
        m_transports->httpClient.setProxyServer(w.text(QStringLiteral("proxyedit")));
        m_transports->httpClient.setProxyPort(Settings::portNumber(w.text(QStringLiteral("portedit"))));
    });
    // What showing the window does: read the settings, so the run's own save keeps them.
    guarded([this] { m_window->getsettings(); });
}

RecordRun::~RecordRun() = default;

std::vector<Finding> RecordRun::checkListing()
{
    return RecordCheck::run(*m_window, m_window->tickedBoxes(), &m_userSites);
}

void RecordRun::timeOut(const QString& reason)
{
    if (!m_submission.isRunning())
        return;
    m_submission.report().skipped(reason);
    m_window->appendLog(m_window->text(QStringLiteral("currentsite")) + QStringLiteral(": ") + reason);
    m_transports->ftp.abortTransfer();
    m_transports->httpClient.setAction(httpIdle);
}

SubmissionRun::Outcome RecordRun::submit()
{
    const int seconds = RunTimeouts::stallSeconds(m_stallOverride, m_window->text(QStringLiteral("timeoutedit")));
    setNetworkStallLimit(seconds, [this, seconds] { timeOut(RunTimeouts::stallReason(seconds)); });
    const int siteSeconds = RunTimeouts::siteLimitSeconds(m_siteLimitOverride, seconds);
    setNetworkSiteLimit(siteSeconds, [this, siteSeconds] {
        // A peer that trickles keeps the stall watch content; the site's whole time ends it as the
        // time-out would, a mail under way included.
        const bool mailing = m_transports->mail.sending();
        timeOut(RunTimeouts::siteLimitReason(siteSeconds));
        if (mailing && m_submission.isRunning())
            m_transports->mail.cancel();
    });
    const SubmissionRun::Outcome outcome = m_submission.start(*m_window, m_transports->channels, m_previewFolder);
    setNetworkStallLimit(0, {});
    setNetworkSiteLimit(0, {});
    const RunRecord& record = m_submission.lastRecord();
    if (outcome != SubmissionRun::Outcome::Refused && record.walked) {
        // Two runs in the same second each keep their report.
        const QString path = m_reportFile.isEmpty() ? RunReport::takeDefaultPath(m_basedir, record) : m_reportFile;
        if (guarded([&] { RunReport::write(path, record); }))
            m_reportPath = path;
    }
    return outcome;
}
