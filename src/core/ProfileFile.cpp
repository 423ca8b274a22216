#include "core/ProfileFile.h"

#include "core/Errors.h"
#include "core/LineFile.h"

#include <QFile>

#include <algorithm>

#include <optional>

namespace {

QByteArray trimmedBlanks(const QByteArray& text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && (text[begin] == ' ' || text[begin] == '\t'))
        ++begin;
    while (end > begin && (text[end - 1] == ' ' || text[end - 1] == '\t'))
        --end;
    return text.mid(begin, end - begin);
}

// The name inside "[name]", or nothing when the line is not a section header.
std::optional<QByteArray> sectionName(const QByteArray& line)
{
    // Most lines are keys: reject them without copying.
    qsizetype first = 0;
    while (first < line.size() && (line[first] == ' ' || line[first] == '\t'))
        ++first;
    if (first == line.size() || line[first] != '[')
        return std::nullopt;
    const QByteArray t = trimmedBlanks(line);
    const qsizetype close = t.indexOf(']');
    if (!t.startsWith('[') || close < 0)
        return std::nullopt;
    return trimmedBlanks(t.mid(1, close - 1));
}

} // namespace

ProfileFile::ProfileFile(QString path)
    : m_path(std::move(path))
{
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    m_existed = true;
    const QByteArray content = file.readAll();
    m_encoding = detectEncoding(content);
    m_lines = splitLines(content);
}

void ProfileFile::makeRoomFor(const QString& text)
{
    if (!canHold(m_encoding, text)) {
        // The file becomes UTF-8 as a whole: every line it holds is converted once.
        for (QByteArray& line : m_lines)
            line = decodeText(line, m_encoding).toUtf8();
        forgetPlaces();
        m_encoding = TextEncoding::Utf8;
    }
}

int ProfileFile::findSection(const QString& section) const
{
    // The catalogue is read key by key: its header lines are found once, not on every lookup.
    if (!m_sectionLines) {
        m_sectionLines.emplace();
        for (int i = 0; i < m_lines.size(); ++i) {
            // The first section of a name wins.
            if (auto name = sectionName(m_lines[i])) {
                const QString key = nameKey(*name);
                if (!m_sectionLines->contains(key))
                    m_sectionLines->insert(key, i);
            }
        }
    }
    return m_sectionLines->value(section.toCaseFolded(), -1);
}

// One past the last key line of the section that starts at sectionLine (blank lines at its end excluded).
int ProfileFile::sectionEnd(int sectionLine) const
{
    int last = sectionLine;
    for (int i = sectionLine + 1; i < m_lines.size(); ++i) {
        if (sectionName(m_lines[i]))
            break;
        if (!trimmedBlanks(m_lines[i]).isEmpty())
            last = i;
    }
    return last + 1;
}

int ProfileFile::findKey(int sectionLine, const QString& key) const
{
    auto [keys, made] = m_keyLines.try_emplace(sectionLine);
    if (made) {
        for (int i = sectionLine + 1; i < m_lines.size(); ++i) {
            const QByteArray& line = m_lines[i];
            if (sectionName(line))
                break;
            const qsizetype eq = line.indexOf('=');
            if (eq < 0)
                continue;
            // The first entry of a name wins.
            const QString name = nameKey(trimmedBlanks(line.left(eq)));
            if (!keys->second.contains(name))
                keys->second.insert(name, i);
        }
    }
    return keys->second.value(key.toCaseFolded(), -1);
}

QString ProfileFile::nameKey(const QByteArray& stored) const
{
    // Names compare without regard to case.
    return decodeText(stored, m_encoding).toCaseFolded();
}

void ProfileFile::forgetPlaces()
{
    m_sectionLines.reset();
    m_keyLines.clear();
}

QString ProfileFile::readString(const QString& section, const QString& key, const QString& defaultValue) const
{
    const int s = findSection(section);
    if (s < 0)
        return defaultValue;
    const int k = findKey(s, key);
    if (k < 0)
        return defaultValue;
    const QByteArray& line = m_lines[k];
    QByteArray raw = trimmedBlanks(line.mid(line.indexOf('=') + 1));
    if (raw.size() >= 2 && raw.startsWith('"') && raw.endsWith('"'))
        raw = raw.mid(1, raw.size() - 2);
    return decodeText(raw, m_encoding).left(MaxValueLength);
}

bool ProfileFile::isTicked(const QString& value)
{
    try {
        return toInteger(value) != 0;
    } catch (const EConvertError&) {
        return false;
    }
}

bool ProfileFile::readBool(const QString& section, const QString& key) const
{
    return isTicked(readString(section, key));
}

void ProfileFile::writeString(const QString& section, const QString& key, const QString& value)
{
    makeRoomFor(section + key + value);
    const QByteArray valueBytes = encodeText(value, m_encoding);
    QByteArray entry = encodeText(key, m_encoding) + '=' + valueBytes;
    // A line break inside a value would split the entry into lines of its own.
    entry.replace('\r', ' ').replace('\n', ' ');
    const int s = findSection(section);
    if (s < 0) {
        forgetPlaces();
        m_lines.append('[' + encodeText(section, m_encoding) + ']');
        m_lines.append(entry);
        return;
    }
    const int k = findKey(s, key);
    if (k >= 0) {
        // A value replaced where it stands moves nothing, unless the line now reads as a header.
        const QByteArray& old = m_lines[k];
        m_lines[k] = old.left(old.indexOf('=') + 1) + valueBytes;
        m_lines[k].replace('\r', ' ').replace('\n', ' ');
        if (sectionName(m_lines[k]))
            forgetPlaces();
        return;
    }
    forgetPlaces();
    m_lines.insert(sectionEnd(s), entry);
}

void ProfileFile::writeBool(const QString& section, const QString& key, bool value)
{
    writeString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

void ProfileFile::commit()
{
    if (!writeFileWholeIfChanged(m_path, joinLines(m_lines)))
        throw EWriteError(m_path);
    m_existed = true;
}

QString ProfileFile::read(const QString& path, const QString& section, const QString& key, const QString& defaultValue)
{
    return ProfileFile(path).readString(section, key, defaultValue);
}

void ProfileFile::write(const QString& path, const QString& section, const QString& key, const QString& value)
{
    ProfileFile file(path);
    file.writeString(section, key, value);
    file.commit();
}
