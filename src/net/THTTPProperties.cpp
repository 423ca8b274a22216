// THTTP's properties: the address taken apart, the headers, the log-in and the outcome.
#include "net/THTTP.h"

#include "net/HttpRequestHead.h"

void THTTP::resetHeaders()
{
    setURL(QString());
    m_urlPort = 80;
    m_contentType.clear();
    m_postData.clear();
    m_authorization.clear();
    m_from.clear();
    m_ifModifiedSince.clear();
    m_referer.clear();
    m_pragma.clear();
    m_accept.clear();
    m_otherHeaders.clear();
    m_statusLine.clear();
    m_attachedFile.clear();
}

QString THTTP::URL() const
{
    return m_url;
}

void THTTP::setURL(const QString& url)
{
    const QString previousServer = m_server;
    m_url = url;
    m_scheme = QStringLiteral("http");
    m_urlPort = 80;
    m_server.clear();
    QString path;
    bool portGiven = false;

    const auto isSeparator = [](QChar c) { return c == QLatin1Char(':') || c == QLatin1Char('/'); };
    const auto findSeparator = [&](qsizetype from) {
        for (qsizetype i = from; i < url.size(); ++i) {
            if (isSeparator(url.at(i)))
                return i;
        }
        return qsizetype(-1);
    };

    const qsizetype at = findSeparator(0);
    if (at < 0) {
        m_server = url;
    } else {
        if (url.at(at) == QLatin1Char(':'))
            m_scheme = url.left(at);
        if (url.mid(at + 1, 2) == QLatin1String("//")) {
            const qsizetype start = at + 3;
            qsizetype end = findSeparator(start);
            if (end < 0)
                end = url.size();
            m_server = url.mid(start, end - start);
            qsizetype rest = end;
            if (end < url.size() && url.at(end) == QLatin1Char(':')) {
                qsizetype digitsEnd = end + 1;
                while (
                    digitsEnd < url.size() && url.at(digitsEnd).unicode() >= '0' && url.at(digitsEnd).unicode() <= '9')
                    ++digitsEnd;
                qsizetype first = end + 1;
                if (first < digitsEnd) {
                    portGiven = true;
                    // Leading zeros add nothing. A number that does not fit a port is no port at
                    // all (connecting then fails with 116) rather than a wrapped-around, unrelated one.
                    while (first < digitsEnd - 1 && url.at(first) == QLatin1Char('0'))
                        ++first;
                    const QStringView digits = QStringView(url).mid(first, digitsEnd - first);
                    const qint64 value = digits.size() > 5 ? 65536 : digits.toLongLong();
                    m_urlPort = value > 65535 ? 0 : quint16(value);
                }
                rest = url.indexOf(QLatin1Char('/'), digitsEnd);
                if (rest < 0)
                    rest = url.size();
            }
            path = url.mid(rest);
        }
    }
    if (!portGiven && secure())
        m_urlPort = 443;
    if (!previousServer.isEmpty() && m_server != previousServer) {
        m_user.clear();
        m_password.clear();
        m_authorization.clear();
    }
    m_path = path.isEmpty() ? QByteArray("/") : path.toUtf8();
}

void THTTP::updateAuthorization()
{
    if (m_user.isEmpty() || m_password.isEmpty()) {
        m_authorization.clear();
        return;
    }
    QString joined = m_user + QLatin1Char(':') + m_password;
    if (joined.size() > 185) {
        joined.truncate(185);
        if (joined.back().isHighSurrogate())
            joined.chop(1);
    }
    m_authorization = QStringLiteral("Basic ") + QString::fromLatin1(joined.toUtf8().toBase64());
}

bool THTTP::secure() const
{
    return HttpRequestHead::secure(m_scheme);
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
    updateAuthorization();
}

QString THTTP::Password() const
{
    return m_password;
}

void THTTP::setPassword(const QString& password)
{
    m_password = password;
    updateAuthorization();
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
    return m_result.code;
}

QString THTTP::ErrorDescription() const
{
    return m_result.text;
}

bool THTTP::RaiseErrors() const
{
    return m_raiseErrors;
}

void THTTP::setRaiseErrors(bool raise)
{
    m_raiseErrors = raise;
}
