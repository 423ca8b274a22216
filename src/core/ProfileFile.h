#pragma once

#include "core/TextEncoding.h"

#include <QByteArrayList>
#include <QHash>
#include <QString>

#include <optional>
#include <unordered_map>

// A keyed profile file ("[SECTION]" lines and "key=value" lines) read and written with the
// private-profile conventions the program's data files have always used:
// - section and key names compare without regard to case; the first matching section and key win;
// - writing replaces a value where it stands, appends a new key at the end of its section and
//   a new section at the end of the file, and never removes other lines;
// - reading cuts a value at 1023 characters, ignores blanks around it and strips enclosing quotes;
// - a missing file reads as empty and is created by the first write;
// - a file is read in the encoding it is in (UTF-8 or Windows-1252) and written back in it; only a
//   value that Windows-1252 cannot hold turns such a file into UTF-8, whole.
// The file is read once on construction; writes change the copy in memory and commit() puts the
// whole file in place at once, so a failed write never leaves half a file behind.
class ProfileFile
{
public:
    static constexpr int MaxValueLength = 1023;

    explicit ProfileFile(QString path);

    const QString& path() const { return m_path; }
    bool existed() const { return m_existed; }
    TextEncoding encoding() const { return m_encoding; }

    QString readString(const QString& section, const QString& key, const QString& defaultValue = {}) const;
    // Tick values: a non-zero decimal, "0x" or "$" hexadecimal number is true; anything else is false.
    bool readBool(const QString& section, const QString& key) const;

    void writeString(const QString& section, const QString& key, const QString& value);
    void writeBool(const QString& section, const QString& key, bool value);

    // Writes the file whole and renames it into place; raises EWriteError with the path on failure.
    void commit();

    // One-shot helpers for a single key.
    static QString read(
        const QString& path, const QString& section, const QString& key, const QString& defaultValue = {});
    static void write(const QString& path, const QString& section, const QString& key, const QString& value);

    static bool isTicked(const QString& value);

private:
    int findSection(const QString& section) const;
    int sectionEnd(int sectionLine) const;
    int findKey(int sectionLine, const QString& key) const;
    // A stored name as the key index holds it.
    QString nameKey(const QByteArray& stored) const;
    // Turns the file into UTF-8 when its encoding cannot hold text.
    void makeRoomFor(const QString& text);
    // Forgets where headers and keys stand, after a change that may have moved or made one.
    void forgetPlaces();

    QString m_path;
    QByteArrayList m_lines;
    // The header line of each section name, case-folded; found on first lookup.
    mutable std::optional<QHash<QString, int>> m_sectionLines;
    // Per section header line: its keys, case-folded, and the line of each one's first entry; made on
    // a section's first key lookup, so reading or saving a record of many keys is not quadratic.
    mutable std::unordered_map<int, QHash<QString, int>> m_keyLines;
    bool m_existed = false;
    TextEncoding m_encoding = TextEncoding::Utf8;
};
