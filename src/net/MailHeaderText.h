#pragma once

#include <QDateTime>
#include <QString>

// Header values that receiving servers and mail readers expect in today's form.
namespace MailHeaderText {

// "Mon, 07 Dec 2026 16:27:21 +0100": the time in its own offset, English names whatever the locale.
QString date(const QDateTime& time);
// "<20261207162721.1a2b3c4d5e6f7a8b@domain>" with the domain of the sender's address.
QString newMessageId(const QString& senderAddress);
// The text as it stands when it is all ASCII; otherwise UTF-8 encoded words ("=?UTF-8?B?…?=") of
// at most 75 characters, folded onto continuation lines.
QString encodedWords(const QString& text);
bool isAscii(const QString& text);

// This machine's name as the system gives it; empty when it gives none.
QString localHostName();

} // namespace MailHeaderText
