#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Everything that decides the bytes of a request's head, as the HTTP client holds it.
struct HttpRequestParts
{
    QByteArray method; // "GET", "POST", "HEAD"
    QString scheme = QStringLiteral("http");
    QString server;
    quint16 port = 80;
    QByteArray path = "/";
    QString httpVersion = QStringLiteral("HTTP/1.0");
    bool throughProxy = false;
    QString authorization;
    QString accept;
    QString from;
    QString userAgent;
    QString ifModifiedSince;
    QString referer;
    QString pragma;
    QStringList otherHeaders;
    QString contentType;
    qint64 postDataSize = 0;
    qint64 fileSize = -1; // the attached file's size; -1: none
};

// The request line and headers, up to and including the empty line: the bytes the client sends
// before the body. No I/O.
namespace HttpRequestHead {

QByteArray build(const HttpRequestParts& parts);
// A proxy's CONNECT request for a tunnel to the server.
QByteArray tunnelRequest(const QString& server, quint16 port);
// The server as the Host header and CONNECT name it (an IPv6 address in brackets for Host).
QByteArray authority(const QString& server, quint16 port);
bool secure(const QString& scheme);

} // namespace HttpRequestHead
