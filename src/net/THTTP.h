#pragma once

#include "net/EHTTP.h"
#include "net/HttpPort.h"
#include "net/NetResult.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

enum THttpAction { httpIdle = 0, httpGet = 1, httpPost = 2, httpHead = 3, httpResetHeaders = 4 };

// HTTP/1.0 client. Setting Action performs the request synchronously: the call returns when the
// server has closed the connection, while the event loop keeps running inside the wait (window
// events, including a second setAction(httpIdle) from a handler, run during the request).
// Failures are raised as EHTTP (code + ": " + description) unless RaiseErrors is off; a status
// other than 2xx is error 151 with the status text ("151: 302 Found").
//
// A window that closes during a request ends the wait with interruptNetworkWaits() (net/NetworkWait.h),
// which makes the action fail with 301 "Interrupted".
class THTTP : public QObject, private HttpPort::Listener
{
    Q_OBJECT

public:
    explicit THTTP(QObject* parent = nullptr);
    ~THTTP() override;

    // Sockets binding (see CWinsock).
    bool WinsockLoaded() const;
    void setWinsockLoaded(bool loaded);
    QString WinsockInfo() const;
    QString WinsockStatus() const;
    // The connection's local address while connected, otherwise the machine's host name.
    QString LocalHost() const;

    // Performs the action (THttpAction); any other value raises "Invalid Action Value".
    int Action() const;
    void setAction(int action);

    // Setting URL parses it into scheme, server, port and path.
    QString URL() const;
    void setURL(const QString& url);
    QString URLScheme() const;
    QString URLServer() const;
    quint16 URLPort() const;
    QByteArray URLPath() const;
    QString HTTPVersion() const;
    void setHTTPVersion(const QString& version);

    // An authority trusted besides the system's for "https" addresses (a PEM file); empty for none.
    QString CAFile() const { return m_caFile; }
    void setCAFile(const QString& path) { m_caFile = path; }

    QString ProxyServer() const;
    void setProxyServer(const QString& server);
    quint16 ProxyPort() const;
    void setProxyPort(quint16 port);

    // Setting either recomputes Authorization ("Basic " + Base64 of User:Password).
    QString User() const;
    void setUser(const QString& user);
    QString Password() const;
    void setPassword(const QString& password);
    QString Authorization() const;
    void setAuthorization(const QString& authorization);

    QString Accept() const;
    void setAccept(const QString& accept);
    QString UserAgent() const;
    void setUserAgent(const QString& userAgent);
    QString From() const;
    void setFrom(const QString& from);
    QString Referer() const;
    void setReferer(const QString& referer);
    QString IfModifiedSince() const;
    void setIfModifiedSince(const QString& ifModifiedSince);
    QString Pragma() const;
    void setPragma(const QString& pragma);
    // Extra request header lines, sent after the standard ones.
    QStringList OtherHeaders() const;
    void setOtherHeaders(const QStringList& lines);

    // Request body of a POST: PostData, then the bytes of AttachedFile.
    QString ContentType() const;
    void setContentType(const QString& contentType);
    QByteArray PostData() const;
    void setPostData(const QByteArray& data);
    QString AttachedFile() const;
    void setAttachedFile(const QString& fileName);

    // Outcome of the last action.
    QString StatusLine() const;
    int ErrorCode() const;
    QString ErrorDescription() const;
    // The same with its kind.
    NetResult result() const { return m_result; }
    // Performs a GET, POST or HEAD and returns its outcome, also kept in result(). Never raises
    // for the request's own failure (setAction raises it, when RaiseErrors is on); an error a
    // handler raised during the request still travels.
    NetResult send(const QByteArray& method);
    // What stops a request from going out before any connection (no server, a scheme not served,
    // an attached file that cannot be read); *fileSize is the attached file's size, -1 for none.
    NetResult checkRequest(const QByteArray& method, qint64* fileSize) const;
    // The request line and headers this client sends for method, with an attached file of fileSize.
    QByteArray requestHead(const QByteArray& method, qint64 fileSize) const;
    // When off, failures are only stored in ErrorCode/ErrorDescription.
    bool RaiseErrors() const;
    void setRaiseErrors(bool raise);

signals:
    // 0 and "OK" on success, otherwise the sockets error code and its description.
    void OnConnected(int code, const QString& text);
    void OnDisconnected(int code, const QString& text);
    // Failures that happen outside the action's own steps (a receive error, for example).
    void OnError(int code, const QString& text);
    // One per response header line; a continuation line comes with an empty name.
    void OnHeader(const QString& name, const QString& value);
    void OnStartTransfer();
    // count: body bytes received so far; piece: the bytes just received.
    void OnTransfer(qint64 count, const QByteArray& piece);
    // Whenever the connection closes, also when no body came.
    void OnEndTransfer();

private:
    // The address asks for TLS ("https").
    bool secure() const;
    // Raises the result as EHTTP when it is a failure and RaiseErrors is on.
    void raiseIfFailed(const NetResult& result) const;
    void performRequest(const QByteArray& method);
    // Asks the proxy with CONNECT for a tunnel to the server and starts TLS through it; a failure
    // is stored (and raised) as the action's.
    void openTunnel();
    // Stores the error as the action's outcome and closes the connection.
    void failAction(const NetResult& result);
    void resetHeaders();
    void updateAuthorization();

    void portConnected(int error) override;
    void portDisconnected(int error) override;
    void portError(int code, const QString& text) override;
    void responseHeader(const QByteArray& name, const QByteArray& value) override;
    void responseBodyStarts() override;
    void responseBody(qint64 count, const QByteArray& piece) override;

    std::unique_ptr<HttpPort> m_port;
    int m_action = httpIdle;
    QString m_url;
    QString m_scheme = QStringLiteral("http");
    QString m_server;
    quint16 m_urlPort = 80;
    QByteArray m_path = "/";
    QString m_httpVersion = QStringLiteral("HTTP/1.0");
    QString m_proxyServer;
    QString m_caFile;
    quint16 m_proxyPort = 80;
    QString m_user;
    QString m_password;
    QString m_authorization;
    QString m_accept;
    QString m_userAgent = QStringLiteral("Halvern's HTTP Component V1.0");
    QString m_from;
    QString m_referer;
    QString m_ifModifiedSince;
    QString m_pragma;
    QStringList m_otherHeaders;
    QString m_contentType;
    QByteArray m_postData;
    QString m_attachedFile;
    QString m_statusLine;
    NetResult m_result;
    bool m_raiseErrors = true;
};
