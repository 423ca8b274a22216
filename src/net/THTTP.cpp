#include "net/THTTP.h"

#include "net/HttpRequestHead.h"

#include <QFile>
#include <QFileInfo>

namespace {

const QString NoAnswerText = QStringLiteral("The server closed the connection without an answer.");

} // namespace

THTTP::THTTP(QObject* parent)
    : QObject(parent)
    , m_port(std::make_unique<HttpPort>(static_cast<HttpPort::Listener*>(this)))
{
}

THTTP::~THTTP() = default;

bool THTTP::WinsockLoaded() const
{
    return m_port->winsock().loaded();
}

void THTTP::setWinsockLoaded(bool loaded)
{
    m_port->winsock().setLoaded(loaded);
}

QString THTTP::WinsockInfo() const
{
    return m_port->winsock().info();
}

QString THTTP::WinsockStatus() const
{
    return m_port->winsock().status();
}

QString THTTP::LocalHost() const
{
    return m_port->localHost();
}

int THTTP::Action() const
{
    return m_action;
}

void THTTP::setAction(int action)
{
    switch (action) {
    case httpIdle:
        m_port->interrupt();
        m_port->disconnectSocket(0);
        return;
    case httpGet:
        return raiseIfFailed(send("GET"));
    case httpPost:
        return raiseIfFailed(send("POST"));
    case httpHead:
        return raiseIfFailed(send("HEAD"));
    case httpResetHeaders:
        resetHeaders();
        return;
    default:
        throw QuilletError(QStringLiteral("Invalid Action Value"));
    }
}

void THTTP::raiseIfFailed(const NetResult& result) const
{
    if (!result.ok() && m_raiseErrors)
        throw EHTTP(result.code, result.text);
}

NetResult THTTP::send(const QByteArray& method)
{
    // A request started from an event handler while another one runs is refused, and must leave
    // the running one (its connection, its response state) alone.
    if (m_port->hasSocket()) {
        m_result = CIPPort::result(104);
        return m_result;
    }
    m_result = {};
    m_statusLine.clear();
    m_action = method == "GET" ? httpGet : method == "POST" ? httpPost : httpHead;
    try {
        performRequest(method);
    } catch (...) {
        // Whatever ended the action, it leaves no connection behind for the next one to trip on.
        m_action = httpIdle;
        try {
            m_port->disconnectSocket(0);
        } catch (...) {
        }
        throw;
    }
    m_action = httpIdle;
    return m_result;
}

void THTTP::performRequest(const QByteArray& method)
{
    m_port->startResponse();
    qint64 fileSize = -1;
    if (const NetResult checked = checkRequest(method, &fileSize); !checked.ok())
        return failAction(checked);
    QString host = m_server;
    quint16 port = m_urlPort;
    if (!m_proxyServer.isEmpty()) {
        host = m_proxyServer;
        port = m_proxyPort;
    }
    // Through a proxy, TLS starts only once the proxy has opened the tunnel.
    const bool tunnel = secure() && !m_proxyServer.isEmpty();
    m_port->setTlsOnConnect(secure() && !tunnel, m_server, m_caFile);
    const bool post = method == "POST";

    quint32 address = 0;
    if (const int resolved = m_port->lookUpAndWait(host, &address))
        return failAction(CIPPort::result(resolved));
    m_port->setRemoteAddress(address);
    m_port->setRemotePort(port);
    if (const int connected = m_port->connectAndWait())
        return failAction(
            CIPPort::result(connected, connected == CIPPort::TlsFailed ? m_port->tlsErrorText() : QString()));
    if (tunnel) {
        openTunnel();
        if (m_result.code != 0)
            return;
    }

    QByteArray head = requestHead(method, fileSize);
    if (post)
        head += m_postData;
    int sent = m_port->sendAll(head);
    if (sent == 0 && fileSize >= 0) {
        sent = m_port->sendFile(m_attachedFile, fileSize);
        if (sent != 0 && m_port->lastNetResult().kind == NetResult::Kind::File)
            return failAction(m_port->lastNetResult());
    }
    // A server may answer and close before it has read the whole request; its answer counts.
    if (sent != 0 && (sent == CIPPortMsg::Interrupted || m_port->hasSocket() || !m_port->reader().hasStatusLine()))
        return failAction(CIPPort::result(sent));

    // A secure connection that failed while receiving says why (a record cut short, for one).
    if (const int closed = m_port->waitForDisconnect())
        return failAction(CIPPort::result(closed, secure() ? m_port->tlsErrorText() : QString()));

    // The outcome is this action's, whatever a handler tried meanwhile.
    m_result = {};
    if (m_port->reader().state() == HttpResponseReader::State::Failed)
        return failAction({NetResult::Kind::Http, 151, m_port->reader().failureText()});
    if (!m_port->reader().hasStatusLine())
        return failAction({NetResult::Kind::Http, 151, NoAnswerText});
    const QByteArray& statusLine = m_port->reader().statusLine();
    m_statusLine = QString::fromUtf8(statusLine);
    QString description;
    NetResult answer;
    if (const int code = HttpResponseReader::checkStatus(statusLine, &description))
        answer = {NetResult::Kind::Http, code, description};
    answer.httpStatus = HttpResponseReader::statusCode(statusLine);
    if (!answer.ok())
        return failAction(answer);
    m_result = answer;
}

NetResult THTTP::checkRequest(const QByteArray& method, qint64* fileSize) const
{
    *fileSize = -1;
    if (m_server.isEmpty())
        return {NetResult::Kind::Client, 152, QStringLiteral("No server specified in URL.")};
    if (m_proxyServer.isEmpty() && m_scheme.toLower() != QLatin1String("http") && !secure())
        return {NetResult::Kind::Client, 153, QStringLiteral("Specified URLScheme is invalid.")};
    // The file is checked before anything goes out, so that a missing one sends no half request.
    if (method == "POST" && !m_attachedFile.isEmpty()) {
        QFile file(m_attachedFile);
        if (!QFileInfo(m_attachedFile).isFile() || !file.open(QIODevice::ReadOnly))
            return {NetResult::Kind::File, 302, QStringLiteral("Can't open file for reading.")};
        *fileSize = file.size();
    }
    return {};
}

void THTTP::openTunnel()
{
    const QByteArray authority = HttpRequestHead::authority(m_server, m_urlPort);
    m_port->setTunnelAnswer(true);
    int result = m_port->sendAll(HttpRequestHead::tunnelRequest(m_server, m_urlPort));
    // The status line, then header lines up to the empty one; nothing else comes before TLS.
    constexpr int MaxAnswerLines = 100;
    QByteArray statusLine;
    for (int lines = 0; result == 0; ++lines) {
        if (lines > MaxAnswerLines) {
            result = CIPPortMsg::Interrupted;
            break;
        }
        result = m_port->waitForReply();
        if (result != 0)
            break;
        const QByteArray line = m_port->replyBuffer();
        if (lines == 0)
            statusLine = line;
        else if (line.isEmpty())
            break;
    }
    m_port->startResponse();
    const QList<QByteArray> parts = statusLine.split(' ');
    const bool opened
        = parts.size() >= 2 && parts[0].startsWith("HTTP/") && parts[1].size() == 3 && parts[1].startsWith('2');
    // A refusal is reported as such, also when the proxy closes without ending its answer.
    if (!opened && (result == 0 || !statusLine.isEmpty()))
        return failAction({NetResult::Kind::Http, 151,
            QStringLiteral("The proxy did not open a tunnel to %1: %2")
                .arg(QString::fromUtf8(authority), QString::fromUtf8(statusLine))});
    if (result != 0)
        return failAction(CIPPort::result(result));
    if (const int secured = m_port->startTlsAndWait(m_server, m_caFile))
        return failAction(CIPPort::result(secured, secured == CIPPort::TlsFailed ? m_port->tlsErrorText() : QString()));
    // The response is read as it arrives, as on a direct connection.
    m_port->setAcceptData(true);
}

QByteArray THTTP::requestHead(const QByteArray& method, qint64 fileSize) const
{
    HttpRequestParts parts;
    parts.method = method;
    parts.scheme = m_scheme;
    parts.server = m_server;
    parts.port = m_urlPort;
    parts.path = m_path;
    parts.httpVersion = m_httpVersion;
    parts.throughProxy = !m_proxyServer.isEmpty();
    parts.authorization = m_authorization;
    parts.accept = m_accept;
    parts.from = m_from;
    parts.userAgent = m_userAgent;
    parts.ifModifiedSince = m_ifModifiedSince;
    parts.referer = m_referer;
    parts.pragma = m_pragma;
    parts.otherHeaders = m_otherHeaders;
    parts.contentType = m_contentType;
    parts.postDataSize = m_postData.size();
    parts.fileSize = fileSize;
    return HttpRequestHead::build(parts);
}

void THTTP::failAction(const NetResult& result)
{
    m_result = result;
    if (m_port->hasSocket())
        m_port->disconnectSocket(0);
}

void THTTP::portConnected(int error)
{
    emit OnConnected(error, error == 0 ? QStringLiteral("OK") : CIPPort::describe(error));
}

void THTTP::portDisconnected(int error)
{
    emit OnEndTransfer();
    emit OnDisconnected(error, error == 0 ? QStringLiteral("OK") : CIPPort::describe(error));
}

void THTTP::portError(int code, const QString& text)
{
    emit OnError(code, text);
}

void THTTP::responseHeader(const QByteArray& name, const QByteArray& value)
{
    emit OnHeader(QString::fromUtf8(name), QString::fromUtf8(value));
}

void THTTP::responseBodyStarts()
{
    emit OnStartTransfer();
}

void THTTP::responseBody(qint64 count, const QByteArray& piece)
{
    emit OnTransfer(count, piece);
}
