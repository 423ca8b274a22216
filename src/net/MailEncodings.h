#pragma once

#include <QByteArray>
#include <QList>

// The line encodings of mail attachments. Both read their input in fixed blocks and write one
// line per block; the last line is the (shorter or empty) rest, so an input whose size is a
// multiple of the block, an empty one included, ends with one empty encoded line.
namespace MailEncodings {

constexpr int Base64Block = 57; // 76 characters a line
constexpr int UUBlock = 45;

QList<QByteArray> base64Lines(const QByteArray& content);
// Each line is its length character followed by the groups; a zero length is written "`".
QList<QByteArray> uuLines(const QByteArray& content);
QByteArray uuLine(const QByteArray& block);

} // namespace MailEncodings
