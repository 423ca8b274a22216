#include "submit/EndpointText.h"

#include <QRegularExpression>

namespace {

// A host name of letters, digits, hyphens and dots, or a dotted IPv4 address.
bool isHostName(const QString& host)
{
    static const QRegularExpression name(QStringLiteral(
        "^(?=.{1,253}$)[A-Za-z0-9](?:[A-Za-z0-9-]{0,61}[A-Za-z0-9])?(?:\\.[A-Za-z0-9](?:[A-Za-z0-9-]{0,61}"
        "[A-Za-z0-9])?)*\\.?$"));
    return name.match(host).hasMatch();
}

// "host" or "host:port" after any scheme was taken off; a trailing "/" is allowed.
std::optional<EndpointText::HostPort> hostAndPort(
    QString rest, quint16 defaultPort, bool secure, const QString& kind, QString* error)
{
    if (rest.endsWith(QLatin1Char('/')))
        rest.chop(1);
    EndpointText::HostPort result{rest, defaultPort, secure};
    if (const qsizetype colon = rest.lastIndexOf(QLatin1Char(':')); colon >= 0) {
        bool ok = false;
        const uint port = rest.mid(colon + 1).toUInt(&ok);
        if (!ok || port == 0 || port > 65535) {
            *error = QStringLiteral("The port of %1 must be a number from 1 to 65535").arg(kind);
            return std::nullopt;
        }
        result.host = rest.left(colon);
        result.port = quint16(port);
    }
    if (result.host.isEmpty()) {
        *error = QStringLiteral("The %1 names no host").arg(kind);
        return std::nullopt;
    }
    if (!isHostName(result.host)) {
        *error = QStringLiteral("\"%1\" is not a host name (letters, digits, hyphens and dots)").arg(result.host);
        return std::nullopt;
    }
    return result;
}

} // namespace

std::optional<EndpointText::HostPort> EndpointText::webHost(const QString& text, QString* error)
{
    const QString value = text.trimmed();
    const QString kind = QStringLiteral("web host");
    if (value.startsWith(QLatin1String("https://"), Qt::CaseInsensitive))
        return hostAndPort(value.mid(8), 443, true, kind, error);
    if (value.startsWith(QLatin1String("http://"), Qt::CaseInsensitive))
        return hostAndPort(value.mid(7), 80, false, kind, error);
    if (value.contains(QLatin1String("://"))) {
        *error = QStringLiteral("A web host starts with http:// or https://, or with the host itself");
        return std::nullopt;
    }
    if (value.contains(QLatin1Char('/'))) {
        *error = QStringLiteral("A web host is a host (and port) without a path");
        return std::nullopt;
    }
    return hostAndPort(value, 80, false, kind, error);
}

std::optional<EndpointText::HostPort> EndpointText::ftpHost(const QString& text, QString* error)
{
    const QString value = text.trimmed();
    const QString kind = QStringLiteral("FTP host");
    if (value.startsWith(QLatin1String("ftps://"), Qt::CaseInsensitive))
        return hostAndPort(value.mid(7), 21, true, kind, error);
    if (value.contains(QLatin1String("://"))) {
        *error = QStringLiteral("An FTP host starts with ftps:// or with the host itself");
        return std::nullopt;
    }
    return hostAndPort(value, 21, false, kind, error);
}

std::optional<EndpointText::HostPort> EndpointText::mailServer(const QString& text, QString* error)
{
    return hostAndPort(text.trimmed(), 25, false, QStringLiteral("mail server"), error);
}

QString EndpointText::mailboxError(const QString& text)
{
    static const QRegularExpression local(QStringLiteral("^[A-Za-z0-9.!#$%&'*+/=?^_`{|}~-]+$"));
    const QString value = text.trimmed();
    const qsizetype at = value.lastIndexOf(QLatin1Char('@'));
    if (at <= 0 || !local.match(value.left(at)).hasMatch())
        return QStringLiteral("A mailbox is one address, name@host.domain");
    const QString domain = value.mid(at + 1);
    if (!domain.contains(QLatin1Char('.')) || !isHostName(domain))
        return QStringLiteral("\"%1\" is not a mail domain").arg(domain);
    return {};
}

bool EndpointText::isPlaceholder(const QString& text)
{
    QString name = text.trimmed();
    if (const qsizetype scheme = name.indexOf(QLatin1String("://")); scheme >= 0)
        name = name.mid(scheme + 3);
    name = name.section(QLatin1Char('/'), 0, 0).section(QLatin1Char('@'), -1).section(QLatin1Char(':'), 0, 0);
    return name.compare(QLatin1String("example"), Qt::CaseInsensitive) == 0
        || name.endsWith(QLatin1String(".example"), Qt::CaseInsensitive);
}
