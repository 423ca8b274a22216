#pragma once

#include "core/TextEncoding.h"
#include "core/WholeFile.h"

#include <QByteArrayList>
#include <QString>
#include <QStringList>
#include <optional>

// Plain text files of lines. Every line is written followed by CR LF; on reading, CR LF, a lone LF
// and a lone CR all end a line, and a final line break does not add an empty line.
// A file is read in the encoding it is in (UTF-8 when valid, else Windows-1252) and a file that is
// written again keeps the encoding it had, unless that cannot hold the new text: an unchanged
// file keeps every byte. New files are UTF-8.

QByteArrayList splitLines(const QByteArray& content);
QByteArray joinLines(const QByteArrayList& lines);
// The lines as one text, each ending in CR LF: encoded at once, it gives the file's bytes without
// a conversion per line.
QString linesText(const QStringList& lines);
// linesText(textToLines(text)) in one pass: every break of the text a CR LF, and one after its
// last line.
QString crLfLinesText(const QString& text);

// The lines of a file, or nothing when it cannot be read; encoding, when given, receives the
// encoding the file was found in.
std::optional<QStringList> readLineFile(const QString& path, TextEncoding* encoding = nullptr);
// The same lines joined by LF, read in one pass (a long description is megabytes).
std::optional<QString> readLineText(const QString& path);
// The encoding of the file as it stands; UTF-8 when it is missing or cannot be read.
TextEncoding fileEncoding(const QString& path);
// Writes the lines whole, then renames the file into place; raises ECreateError with the path on failure.
void writeLineFile(const QString& path, const QStringList& lines);
// The same in encoding where it can hold the lines (UTF-8 otherwise), whatever the file held.
void writeLineFileIn(const QString& path, const QStringList& lines, TextEncoding encoding);
// The same for a text's lines (textToLines), without a string per line.
void writeTextLines(const QString& path, const QString& text);

// The text with each CR LF turned into LF, in one pass (a long description is megabytes).
QString withLfBreaks(QString text);
// Every LF preceded by a CR, in one pass over the text.
QString withCrLfBreaks(const QString& text);

// Splits a memo's text into its lines by the same rules as a file.
QStringList textToLines(const QString& text);
