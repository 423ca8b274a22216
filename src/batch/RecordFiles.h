#pragma once

#include "core/TextEncoding.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

// A program record's files (data/NAME.dat, .lds and .nts) as values under the names of the
// controls that show them, read and written the same way whether a window shows them or not.
struct RecordValues
{
    // Company, listing (not the name) and category values, each key's default where the file lacks
    // it; the memos longdesc and Memo2 as their lines joined by LF, only when their files could be
    // read (a text file that cannot be read ends the loading of the texts). In the file's order.
    std::vector<std::pair<QString, QString>> texts;
    // Every site tick box asked for.
    std::vector<std::pair<QString, bool>> ticks;
};

namespace RecordFiles {

// The record of name at recordPath (path without extension); name empty or unsafe: the defaults.
RecordValues read(const QString& recordPath, bool safe, const QStringList& userTicks);

// Writes the program record at recordPath from the controls' texts and tick boxes. A user tick
// box clear in the window is written only where the file already has its key, so a record that
// never had a site of one's own ticked keeps every byte.
void writeProgram(const QString& recordPath, const std::function<QString(const QString& control)>& text,
    const std::function<bool(const QString& box)>& ticked, const QStringList& userTicks);

// Writes section COMPANY of a company's own record file.
void writeCompany(const QString& path, const std::function<QString(const QString& control)>& text);

// The name lists a save adds to.
enum class NameList { Companies, Programs };

// Saves a program and its company as "Save/Submit" does: names that cannot be file names are refused
// (EWriteError) before anything is written; then the data folder is made and the company list, the
// company's record, the program list and the program's record are written, in that order. addName
// adds a name to a list file (a window also shows the list).
void saveProgram(const QString& dataFolder, const QString& name, const QString& company,
    const std::function<QString(const QString& control)>& text, const std::function<bool(const QString& box)>& ticked,
    const QStringList& userTicks,
    const std::function<void(NameList list, const QString& path, const QString& name)>& addName);

} // namespace RecordFiles

// Windows-1252 when any file of a record is in it, else UTF-8: what the sites are sent is the
// bytes the record holds. Every form post of a run asks, and finding out reads the whole of the
// three files, so the answer is kept while their sizes and times stay.
class RecordEncoding
{
public:
    TextEncoding of(const QString& recordPath) const;
    // A save may change it within the file times' resolution.
    void forget() { m_known.reset(); }

private:
    // Size and modification time (ns) of each file; -1 for a file that is not there.
    using Stamps = std::array<std::pair<qint64, qint64>, 3>;
    struct Known
    {
        QString recordPath;
        Stamps stamps;
        TextEncoding encoding;
    };
    mutable std::optional<Known> m_known;
};
