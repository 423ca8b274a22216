#pragma once

#include <QByteArray>
#include <QList>

// Quoted-printable encoding of text into lines: each paragraph is cut into pieces of at most 65
// source characters (before the last space where there is one), every piece but the last ends in
// a soft break "=", and bytes below 32, "=" and bytes of 128 or above become "=XX".
namespace TQuotedPrintable {

inline constexpr int MaxParagraph = 24576;
inline constexpr int PieceLength = 65;

// Splits text into paragraphs at line ends (CR or LF, optionally followed by one more CR or LF
// consumed with it) and encodes each. Raises QuilletError "Paragraph is too large" for a
// paragraph over MaxParagraph characters.
QList<QByteArray> encode(const QByteArray& text);
// One paragraph (no line ends in it); an empty paragraph gives one empty line.
QList<QByteArray> encodeParagraph(const QByteArray& paragraph);

} // namespace TQuotedPrintable
