#include "net/FtpHost.h"

FtpHost FtpHost::parse(const QString& text)
{
    FtpHost host;
    QString name = text.trimmed();
    const QLatin1String ftps("ftps://");
    host.secure = name.startsWith(ftps, Qt::CaseInsensitive);
    if (host.secure) {
        name = name.mid(ftps.size());
        if (name.endsWith(QLatin1Char('/')))
            name.chop(1);
    }
    const qsizetype colon = name.lastIndexOf(QLatin1Char(':'));
    if (colon > 0) {
        bool ok = false;
        const uint port = name.mid(colon + 1).toUInt(&ok);
        if (ok && port > 0 && port <= 65535) {
            host.port = quint16(port);
            name.truncate(colon);
        }
    }
    host.name = name;
    return host;
}
