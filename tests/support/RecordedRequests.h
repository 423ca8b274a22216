#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QDir>
#include <QFile>
#include <QList>

// The requests a recording HTTP peer saved in its folder, in arrival order.
struct RecordedRequest
{
    QByteArray requestLine; // "POST /path HTTP/1.0"
    QByteArray head; // request line and header lines, without the empty line
    QByteArray body;
};

// Each saved request's bytes as they arrived.
inline QByteArrayList recordedRequestBytes(const QString& folder)
{
    QByteArrayList out;
    const QStringList names = QDir(folder).entryList({QStringLiteral("*.req")}, QDir::Files, QDir::Name);
    for (const QString& name : names) {
        QFile f(folder + QLatin1Char('/') + name);
        if (f.open(QIODevice::ReadOnly))
            out << f.readAll();
    }
    return out;
}

inline QList<RecordedRequest> recordedRequests(const QString& folder)
{
    QList<RecordedRequest> out;
    for (const QByteArray& all : recordedRequestBytes(folder)) {
        const qsizetype split = all.indexOf("\r\n\r\n");
        RecordedRequest r;
        r.head = split < 0 ? all : all.left(split);
        r.body = split < 0 ? QByteArray() : all.mid(split + 4);
        r.requestLine = r.head.left(r.head.indexOf("\r\n"));
        out.append(r);
    }
    return out;
}

// A form body or query with "+" and every "%XX" turned back into bytes: the values as they were
// before encoding, with the "=" and "&" that join them. Which "&" joins and which belongs to a
// value is what the encoding tests check; the rest of the suite reads bodies through this.
inline QByteArray formDecoded(QByteArray encoded)
{
    encoded.replace('+', ' ');
    return QByteArray::fromPercentEncoding(encoded);
}
