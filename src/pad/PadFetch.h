#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// Fetches a PAD file by http or https with the program's own HTTP client: redirects are followed
// (five at most), and a body larger than the limit ends the transfer. Needs a running
// QCoreApplication (the client's waits pump its events).
namespace PadFetch {

inline constexpr qint64 MaxBytes = 8 * 1024 * 1024;

bool isAddress(const QString& source);
// caFile: an authority trusted besides the system's; empty for none. On failure error says why.
std::optional<QByteArray> get(const QString& url, const QString& caFile, QString* error);

} // namespace PadFetch
