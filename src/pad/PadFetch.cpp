#include "pad/PadFetch.h"

#include "net/THTTP.h"

#include <QUrl>

namespace PadFetch {

bool isAddress(const QString& source)
{
    return source.startsWith(QLatin1String("http://"), Qt::CaseInsensitive)
        || source.startsWith(QLatin1String("https://"), Qt::CaseInsensitive);
}

std::optional<QByteArray> get(const QString& url, const QString& caFile, QString* error)
{
    QString address = url;
    for (int hop = 0; hop <= 5; ++hop) {
        THTTP http;
        http.setWinsockLoaded(true);
        http.setRaiseErrors(false);
        http.setCAFile(caFile);
        http.setURL(address);
        QString location;
        QByteArray body;
        bool tooLarge = false;
        QObject::connect(&http, &THTTP::OnHeader, [&](const QString& name, const QString& value) {
            if (name.compare(QLatin1String("Location"), Qt::CaseInsensitive) == 0)
                location = value.trimmed();
        });
        QObject::connect(&http, &THTTP::OnTransfer, [&](qint64, const QByteArray& piece) {
            if (tooLarge)
                return;
            body += piece;
            if (body.size() > MaxBytes) {
                tooLarge = true;
                http.setAction(httpIdle);
            }
        });
        http.setAction(httpGet);
        if (tooLarge) {
            *error = QStringLiteral("%1 is larger than %2 MB").arg(address).arg(MaxBytes / (1024 * 1024));
            return std::nullopt;
        }
        const QString status = http.StatusLine().section(QLatin1Char(' '), 1, 1);
        if (status.startsWith(QLatin1Char('3')) && !location.isEmpty()) {
            const QString next = QUrl(address).resolved(QUrl(location)).toString();
            if (!isAddress(next)) {
                *error = QStringLiteral("%1 redirects to %2, which is no http or https address").arg(address, next);
                return std::nullopt;
            }
            address = next;
            continue;
        }
        if (http.ErrorCode() != 0) {
            *error = QStringLiteral("cannot fetch %1: %2: %3")
                         .arg(address)
                         .arg(http.ErrorCode())
                         .arg(http.ErrorDescription());
            return std::nullopt;
        }
        return body;
    }
    *error = QStringLiteral("%1 redirects more than five times").arg(url);
    return std::nullopt;
}

} // namespace PadFetch
