#pragma once

#include <QByteArray>
#include <QString>

// The two encodings a stored text file can be in. Files written on Windows are 8-bit text in its
// Western code page; files written here are UTF-8. A file is read in the encoding it was found in
// and written back in the same one, so an unchanged file keeps every byte.
enum class TextEncoding { Utf8, Windows1252 };

// UTF-8 when all of the bytes are valid UTF-8 (plain ASCII included), Windows-1252 otherwise.
TextEncoding detectEncoding(const QByteArray& bytes);
bool isValidUtf8(const QByteArray& bytes);

// Every byte has a character in Windows-1252 (the five bytes the code page leaves unassigned map
// to the control characters of the same number), so decoding then encoding gives back the bytes.
QString decodeText(const QByteArray& bytes, TextEncoding encoding);
// Characters that Windows-1252 cannot hold become '?'; use canHold() first to avoid that.
QByteArray encodeText(const QString& text, TextEncoding encoding);
bool canHold(TextEncoding encoding, const QString& text);

// The encoding to write text in: the file's own, unless that cannot hold the text.
TextEncoding encodingFor(TextEncoding current, const QString& text);
