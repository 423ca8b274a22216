#pragma once

#include <QString>
#include <QStringList>
#include <QTime>

// The debug captures of HTTP replies and FTP traces: folder + "/responses/" + the minutes,
// seconds and milliseconds of the time, each in decimal without leading zeros, run together
// (10 min 5 s 30 ms gives "10530"), + extension. Such names repeat (1:23.456 and 12:3.456 both
// give "123456"): a name already taken gets "-2", "-3" … before the extension.
QString replyCaptureName(const QTime& time);
// Writes the lines (each followed by CR LF); raises "Cannot create file %s" when it cannot.
void writeReplyCapture(const QString& folder, const QString& extension, const QStringList& lines);
