#include "net/HttpRequestHead.h"

#include <algorithm>

namespace {

const QByteArray CRLF = "\r\n";

// A header value must stay on its line: a CR or LF inside it would end the header early and let
// the rest pass as headers or body of its own.
QByteArray headerText(const QString& text)
{
    QByteArray bytes = text.toUtf8();
    bytes.replace('\r', ' ');
    bytes.replace('\n', ' ');
    return bytes;
}

// The request target goes out as given, except for bytes that would break the request line.
QByteArray requestTarget(const QByteArray& target)
{
    const auto breaksTheLine = [](char c) { return uchar(c) <= 0x20 || uchar(c) == 0x7f; };
    // A form sent by GET carries the whole listing in its target.
    if (std::none_of(target.cbegin(), target.cend(), breaksTheLine))
        return target;
    QByteArray out;
    out.reserve(target.size());
    for (const char c : target) {
        if (breaksTheLine(c))
            out += '%' + QByteArray::number(uchar(c), 16).rightJustified(2, '0').toUpper();
        else
            out += c;
    }
    return out;
}

bool hasOtherHeader(const QStringList& lines, const char* name)
{
    const QString prefix = QLatin1String(name) + QLatin1Char(':');
    for (const QString& line : lines) {
        if (line.trimmed().startsWith(prefix, Qt::CaseInsensitive))
            return true;
    }
    return false;
}

// Servers that host several sites at one address tell them apart by this header; the port is
// named only when it is not the scheme's own.
QByteArray hostHeaderValue(const HttpRequestParts& parts)
{
    QByteArray host = requestTarget(parts.server.toUtf8());
    if (host.contains(':'))
        host = '[' + host + ']';
    if (parts.port != (HttpRequestHead::secure(parts.scheme) ? 443 : 80))
        host += ':' + QByteArray::number(parts.port);
    return host;
}

} // namespace

namespace HttpRequestHead {

bool secure(const QString& scheme)
{
    return scheme.compare(QLatin1String("https"), Qt::CaseInsensitive) == 0;
}

QByteArray authority(const QString& server, quint16 port)
{
    return requestTarget(server.toUtf8()) + ':' + QByteArray::number(port);
}

QByteArray tunnelRequest(const QString& server, quint16 port)
{
    const QByteArray name = authority(server, port);
    return "CONNECT " + name + " HTTP/1.0" + CRLF + "Host: " + name + CRLF + CRLF;
}

QByteArray build(const HttpRequestParts& parts)
{
    QByteArray target = parts.path;
    // An https request goes through the proxy's tunnel as it would go to the server itself.
    if (parts.throughProxy && !secure(parts.scheme)) {
        QByteArray prefix = parts.scheme.toUtf8() + "://" + parts.server.toUtf8();
        if (parts.port != 80)
            prefix += ':' + QByteArray::number(parts.port);
        target.prepend(prefix);
    }
    QByteArray head = parts.method + ' ' + requestTarget(target) + ' ' + headerText(parts.httpVersion) + CRLF;
    if (!hasOtherHeader(parts.otherHeaders, "Host"))
        head += "Host: " + hostHeaderValue(parts) + CRLF;
    const std::pair<const char*, const QString*> headers[] = {
        {"Authorization: ", &parts.authorization},
        {"Accept: ", &parts.accept},
        {"From: ", &parts.from},
        {"User-Agent: ", &parts.userAgent},
        {"If-Modified-Since: ", &parts.ifModifiedSince},
        {"Referer: ", &parts.referer},
        {"Pragma: ", &parts.pragma},
    };
    for (const auto& [name, value] : headers) {
        if (!value->isEmpty())
            head += name + headerText(*value) + CRLF;
    }
    for (const QString& line : parts.otherHeaders) {
        if (line.startsWith(QLatin1Char('.')))
            head += '.';
        head += headerText(line) + CRLF;
    }
    if (parts.method == "POST") {
        if (!parts.contentType.isEmpty())
            head += "Content-Type: " + headerText(parts.contentType) + CRLF;
        const qint64 length = parts.postDataSize + std::max<qint64>(parts.fileSize, 0);
        head += "Content-Length: " + QByteArray::number(length) + CRLF;
    }
    head += CRLF;
    return head;
}

} // namespace HttpRequestHead
