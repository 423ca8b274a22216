#include "net/THTTP.h"

#include "net/HttpPort.h"
#include "net/HttpResponseReader.h"

THTTP::THTTP(QObject* parent)
    : QObject(parent)
    , m_port(std::make_unique<HttpPort>(this))
    , m_reader(std::make_unique<HttpResponseReader>())
{
}

THTTP::~THTTP() = default;

bool THTTP::WinsockLoaded() const
{
    return false;
}

void THTTP::setWinsockLoaded(bool) { }

QString THTTP::WinsockInfo() const
{
    return {};
}

QString THTTP::WinsockStatus() const
{
    return QStringLiteral("Down");
}

QString THTTP::LocalHost() const
{
    return {};
}

int THTTP::Action() const
{
    return m_action;
}

void THTTP::setAction(int action)
{
    switch (action) {
    case httpIdle:
        return;
    case httpGet:
        request("GET");
        return;
    case httpPost:
        request("POST");
        return;
    case httpHead:
        request("HEAD");
        return;
    case httpResetHeaders:
        resetHeaders();
        return;
    default:
        throw QuilletError(QStringLiteral("Invalid Action Value"));
    }
}

void THTTP::request(const QByteArray&)
{
    failAction(152, QStringLiteral("No server specified in URL."));
}

void THTTP::failAction(int code, const QString& description)
{
    m_errorCode = code;
    m_errorDescription = description;
    if (m_raiseErrors)
        throw EHTTP(code, description);
}

void THTTP::resetHeaders() { }
void THTTP::portConnected(int) { }
void THTTP::portDisconnected(int) { }
void THTTP::portDataIn(const QByteArray&, bool) { }
void THTTP::portError(int, const QString&) { }

QString THTTP::URL() const
{
    return m_url;
}
void THTTP::setURL(const QString& url)
{
    m_url = url;
}
QString THTTP::URLScheme() const
{
    return m_scheme;
}
QString THTTP::URLServer() const
{
    return m_server;
}
quint16 THTTP::URLPort() const
{
    return m_urlPort;
}
QByteArray THTTP::URLPath() const
{
    return m_path;
}
QString THTTP::HTTPVersion() const
{
    return m_httpVersion;
}
void THTTP::setHTTPVersion(const QString& version)
{
    m_httpVersion = version;
}
QString THTTP::ProxyServer() const
{
    return m_proxyServer;
}
void THTTP::setProxyServer(const QString& server)
{
    m_proxyServer = server;
}
quint16 THTTP::ProxyPort() const
{
    return m_proxyPort;
}
void THTTP::setProxyPort(quint16 port)
{
    m_proxyPort = port;
}
QString THTTP::User() const
{
    return m_user;
}
void THTTP::setUser(const QString& user)
{
    m_user = user;
}
QString THTTP::Password() const
{
    return m_password;
}
void THTTP::setPassword(const QString& password)
{
    m_password = password;
}
QString THTTP::Authorization() const
{
    return m_authorization;
}
void THTTP::setAuthorization(const QString& authorization)
{
    m_authorization = authorization;
}
QString THTTP::Accept() const
{
    return m_accept;
}
void THTTP::setAccept(const QString& accept)
{
    m_accept = accept;
}
QString THTTP::UserAgent() const
{
    return m_userAgent;
}
void THTTP::setUserAgent(const QString& userAgent)
{
    m_userAgent = userAgent;
}
QString THTTP::From() const
{
    return m_from;
}
void THTTP::setFrom(const QString& from)
{
    m_from = from;
}
QString THTTP::Referer() const
{
    return m_referer;
}
void THTTP::setReferer(const QString& referer)
{
    m_referer = referer;
}
QString THTTP::IfModifiedSince() const
{
    return m_ifModifiedSince;
}
void THTTP::setIfModifiedSince(const QString& value)
{
    m_ifModifiedSince = value;
}
QString THTTP::Pragma() const
{
    return m_pragma;
}
void THTTP::setPragma(const QString& pragma)
{
    m_pragma = pragma;
}
QStringList THTTP::OtherHeaders() const
{
    return m_otherHeaders;
}
void THTTP::setOtherHeaders(const QStringList& lines)
{
    m_otherHeaders = lines;
}
QString THTTP::ContentType() const
{
    return m_contentType;
}
void THTTP::setContentType(const QString& contentType)
{
    m_contentType = contentType;
}
QByteArray THTTP::PostData() const
{
    return m_postData;
}
void THTTP::setPostData(const QByteArray& data)
{
    m_postData = data;
}
QString THTTP::AttachedFile() const
{
    return m_attachedFile;
}
void THTTP::setAttachedFile(const QString& fileName)
{
    m_attachedFile = fileName;
}
QString THTTP::StatusLine() const
{
    return m_statusLine;
}
int THTTP::ErrorCode() const
{
    return m_errorCode;
}
QString THTTP::ErrorDescription() const
{
    return m_errorDescription;
}
bool THTTP::RaiseErrors() const
{
    return m_raiseErrors;
}
void THTTP::setRaiseErrors(bool raise)
{
    m_raiseErrors = raise;
}
