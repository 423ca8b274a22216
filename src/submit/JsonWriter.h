#pragma once

#include <QByteArray>
#include <QLatin1StringView>
#include <QString>
#include <QStringList>

#include <vector>

// Writes a JSON document member by member, in the layout QJsonDocument::Indented gives, for a
// document as regular as a run's report: building QJsonObjects of sixty sites only to write them
// costs several times the writing. A caller gives an object's members in the order of their keys,
// as QJsonObject keeps them.
class JsonWriter
{
public:
    JsonWriter();

    void beginObject();
    void endObject();
    void beginArray();
    void endArray();
    // The next member of the object being written.
    void key(QLatin1StringView name);
    void value(const QString& text);
    void value(double number);
    void value(bool flag);
    void strings(const QStringList& list);
    // key(name) and its value.
    template <typename Value>
    void member(QLatin1StringView name, const Value& value)
    {
        key(name);
        write(value);
    }

    // The document, ending in a line break.
    QByteArray take();

private:
    void write(const QString& text) { value(text); }
    void write(double number) { value(number); }
    void write(bool flag) { value(flag); }
    void write(const QStringList& list) { strings(list); }
    void indent(); // four blanks per open level
    void element();
    void open(char bracket, bool array);
    void close(char bracket);

    struct Level
    {
        bool array = false;
        int count = 0;
    };
    QByteArray m_out;
    std::vector<Level> m_levels;
    bool m_keyed = false; // a key was written: the value goes after it
};
