#include "net/CIPPortMsg.h"

#include "net/EventWait.h"
#include "net/HostLookup.h"

#include <QAbstractEventDispatcher>

#include <algorithm>

namespace {

// A wait of this port, listed while it runs so that interrupt() can reach it.
struct Registration
{
    Registration(std::vector<NetworkWait*>& list, std::exception_ptr* handlerFailure)
        : waits(list)
        , wait(NetworkWait::Watch::Stalls, handlerFailure)
    {
        waits.push_back(&wait.network());
    }
    ~Registration() { waits.erase(std::remove(waits.begin(), waits.end(), &wait.network()), waits.end()); }

    std::vector<NetworkWait*>& waits;
    EventWait wait;
};

} // namespace

CIPPortMsg::CIPPortMsg(QObject* parent)
    : CIPPort(parent)
{
}

CIPPortMsg::~CIPPortMsg() = default;

int CIPPortMsg::lookUpAndWait(const QString& host, quint32* address)
{
    *address = 0;
    if (!winsock().loaded())
        return 10093;
    int code = 0;
    if (CWinsock::resolveLocally(host, address, &code))
        return code;
    bool answered = false;
    quint32 found = 0;
    const int id = HostLookup::start(host, this, [&](int answer, quint32 answerAddress) {
        answered = true;
        code = answer;
        found = answerAddress;
    });
    // However the wait ends (an interrupt, a handler's error raised again), the answer must not
    // come to this frame once it is gone.
    struct Abandon
    {
        const bool& answered;
        int id;
        ~Abandon()
        {
            if (!answered)
                HostLookup::abort(id);
        }
    } abandon{answered, id};
    Registration registration(m_waits, &m_handlerFailure);
    const int result = registration.wait.until<int>([&](bool interrupted) -> std::optional<int> {
        // Skip pressed while the answer came still skips.
        if (interrupted)
            return Interrupted;
        if (answered)
            return code;
        return std::nullopt;
    });
    if (result == 0)
        *address = found;
    return result;
}

int CIPPortMsg::connectAndWait()
{
    m_connectDone = false;
    m_connectResult = 0;
    m_closeResult = 0;
    m_lastDescription.clear();
    const int started = connectSocket();
    if (started != 0)
        return finish(started);
    // A reply line the last connection left unread (or unfinished) is not this connection's.
    m_replyArrived = false;
    m_inLongLine = false;
    return finish(runWait([this](bool interrupted) -> std::optional<int> {
        // A connect error wins over an interrupt that came with it.
        if (m_connectDone)
            return m_connectResult;
        if (interrupted || !hasSocket())
            return Interrupted;
        return std::nullopt;
    }));
}

int CIPPortMsg::startTlsAndWait(const QString& host, const QString& caFile)
{
    m_lastDescription.clear();
    m_tlsDone = false;
    m_tlsResult = 0;
    startTls(host, caFile);
    return finish(runWait([this](bool interrupted) -> std::optional<int> {
        if (m_tlsDone)
            return m_tlsResult;
        if (interrupted || !hasSocket())
            return Interrupted;
        return std::nullopt;
    }));
}

void CIPPortMsg::onTlsStarted(int error)
{
    m_tlsDone = true;
    m_tlsResult = error;
}

int CIPPortMsg::waitForReply()
{
    m_lastDescription.clear();
    if (!m_replyArrived) {
        setAcceptData(true);
        ++m_replyWaits;
        const int result = runWait(
            [this](bool interrupted) -> std::optional<int> {
                if (m_replyArrived)
                    return 0;
                if (interrupted || !hasSocket())
                    return Interrupted;
                return std::nullopt;
            },
            [this] { return waitTurn(); });
        --m_replyWaits;
        if (result != 0)
            return finish(result);
    }
    m_replyArrived = false;
    return finish(0);
}

int CIPPortMsg::waitForDisconnect()
{
    m_lastDescription.clear();
    // The close is seen by reading up to the end of the stream: data left unaccepted would keep
    // the wait from ever seeing it.
    setAcceptData(true);
    ++m_disconnectWaits;
    struct Done
    {
        int& count;
        ~Done() { --count; }
    } done{m_disconnectWaits};
    return finish(runWait([this](bool interrupted) -> std::optional<int> {
        if (interrupted)
            return Interrupted;
        if (!hasSocket())
            return m_closeResult;
        return std::nullopt;
    }));
}

int CIPPortMsg::sendAll(const char* data, qint64 size)
{
    m_lastDescription.clear();
    qint64 sent = 0;
    int result = send(data, size);
    if (result != 10035)
        return finish(result);
    Registration registration(m_waits, &m_handlerFailure);
    EventWait& wait = registration.wait;

    while (result == 10035) {
        sent += bytesLastSent();
        // The write notification (armed by the partial send) or any other event ends the turn.
        wait.turn();
        if (wait.interrupted())
            return finish(Interrupted);
        if (const int hook = sendProgress(sent))
            return finish(hook);
        result = send(data + sent, size - sent);
    }
    return finish(result);
}

void CIPPortMsg::interrupt()
{
    for (NetworkWait* wait : m_waits)
        wait->interrupt();
}

int CIPPortMsg::waitTurn()
{
    return 0;
}

int CIPPortMsg::sendProgress(qint64)
{
    return 0;
}

void CIPPortMsg::setResult(int code, const QString& description)
{
    setResult(CIPPort::result(code, description));
    m_lastDescription = description;
}

void CIPPortMsg::setResult(const NetResult& result)
{
    m_lastResult = result.code;
    m_lastDescription = result.text;
    m_lastKind = result.kind;
}

NetResult CIPPortMsg::lastNetResult() const
{
    const NetResult described = CIPPort::result(m_lastResult, m_lastDescription);
    return {m_lastKind, described.code, described.text};
}

void CIPPortMsg::onConnected(int error)
{
    m_connectDone = true;
    m_connectResult = error;
}

void CIPPortMsg::onDisconnected(int error)
{
    m_closeResult = error;
    // Nobody will answer any more: a wait for a reply ends as interrupted.
    if (m_replyWaits > 0)
        interrupt();
}

void CIPPortMsg::onDataIn(const QByteArray& data, bool delimited)
{
    if (m_replyArrived)
        return;
    // A line longer than the receive buffer comes in parts: it is still one reply.
    if (!m_inLongLine)
        m_replyBuffer.clear();
    m_replyBuffer += data.left(ReplyBufferSize - m_replyBuffer.size());
    m_inLongLine = !delimited;
    if (m_inLongLine)
        return;
    m_replyArrived = true;
    if (m_stopAfterOneLine && m_disconnectWaits == 0)
        setAcceptData(false);
}

void CIPPortMsg::handlerFailed(std::exception_ptr error)
{
    if (m_waits.empty()) {
        CIPPort::handlerFailed(error);
        return;
    }
    if (!m_handlerFailure)
        m_handlerFailure = error;
    if (auto* dispatcher = QAbstractEventDispatcher::instance())
        dispatcher->wakeUp();
}

int CIPPortMsg::runWait(const std::function<std::optional<int>(bool)>& check, const std::function<int()>& turn)
{
    Registration registration(m_waits, &m_handlerFailure);
    std::function<std::optional<int>()> afterTurn;
    if (turn) {
        afterTurn = [&turn]() -> std::optional<int> {
            if (const int error = turn())
                return error;
            return std::nullopt;
        };
    }
    return registration.wait.until<int>(check, afterTurn);
}

int CIPPortMsg::finish(int result)
{
    m_lastResult = result;
    m_lastKind = CIPPort::result(result).kind;
    return result;
}
