#pragma once

#include <QString>

#include <optional>

// The catalogue's endpoint texts as the run reads them, checked before they are saved or tried:
// a web host ("host", "host:port", "http://host[:port]", "https://host[:port]"), an FTP host
// ("host", "host:port", "ftps://host[:port]"), a mail server ("host" or "host:port") and a mailbox.
namespace EndpointText {

struct HostPort
{
    QString host;
    quint16 port = 0;
    bool secure = false; // https:// or ftps://
};

// The parsed value, or nothing with *error saying what is wrong with it.
std::optional<HostPort> webHost(const QString& text, QString* error);
std::optional<HostPort> ftpHost(const QString& text, QString* error);
std::optional<HostPort> mailServer(const QString& text, QString* error);
// Empty when text is one mail address ("name@host.domain"), else why not.
QString mailboxError(const QString& text);
// A host, address or mailbox whose domain is under the reserved ".example": a stand-in that was
// never pointed at a real site.
bool isPlaceholder(const QString& text);

} // namespace EndpointText
