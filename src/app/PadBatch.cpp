#include "app/PadBatch.h"

#include "batch/ListedProgram.h"

#include "app/NameList.h"
#include "app/PadRecords.h"
#include "app/TForm1.h"
#include "batch/BatchPrint.h"
#include "batch/CommandLine.h"
#include "batch/RecordCheck.h"
#include "core/Dialogs.h"
#include "core/LineFile.h"
#include "core/RecordName.h"
#include "core/WholeFile.h"
#include "pad/PadExport.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>

#include <cstdio>

namespace {

// Loads a listed program's record into the window as picking its name does, with the settings
// showing the window reads; false (and says so) when there is no such program.
bool load(TForm1& form, const QString& program)
{
    if (const QString unlisted = unlistedProgramMessage(form.basedir(), program); !unlisted.isEmpty()) {
        printLine(stderr, unlisted);
        return false;
    }
    guarded([&] { form.getsettings(); });
    guarded([&] {
        form.appnameEnter();
        form.appname()->setEditText(program);
        form.appnameChange();
    });
    return true;
}

} // namespace

namespace PadBatch {

int importPad(const CommandLine& line)
{
    const QString basedir = QDir::currentPath();
    QString error;
    const std::optional<QByteArray> bytes = PadRecords::readSource(line.padSource, basedir, &error);
    std::optional<PadDocument> pad;
    if (bytes)
        pad = PadDocument::parse(*bytes, &error);
    if (!pad) {
        printLine(stderr, QStringLiteral("Cannot import %1: %2").arg(line.padSource, error));
        return 1;
    }
    const PadImport imported = PadImport::from(*pad, PadRecords::categoryLists(basedir));
    if (!imported.values.contains(QStringLiteral("appname"))) {
        printLine(stderr,
            QStringLiteral("Cannot import %1: it names no program that can have a record (Program_Name)")
                .arg(line.padSource));
        return 1;
    }
    Dialogs* previous = setDialogs(nullptr);
    PadRecords::Stored stored;
    {
        TForm1 form;
        stored = PadRecords::storeImport(form, imported, [&](const QString& name, const QStringList& changed) {
            if (!line.force)
                printLine(stderr,
                    QStringLiteral("\"%1\" already has a record here; the PAD file would change %2 of its fields "
                                   "(%3). Nothing was changed: import with --force to update them.")
                        .arg(name)
                        .arg(changed.size())
                        .arg(changed.join(QStringLiteral(", "))));
            return line.force;
        });
    }
    setDialogs(previous);
    if (stored == PadRecords::Stored::Declined)
        return 1;
    if (stored == PadRecords::Stored::Failed) {
        printLine(stderr,
            QStringLiteral("Cannot store the record of %1").arg(imported.values.value(QStringLiteral("appname"))));
        return 1;
    }
    for (const QString& text : PadRecords::summary(imported, stored, line.padSource, pad->version))
        printLine(stdout, text);
    return 0;
}

int exportPad(const CommandLine& line)
{
    Dialogs* previous = setDialogs(nullptr);
    std::optional<PadExport> out;
    {
        TForm1 form;
        if (load(form, line.program))
            out = PadExport::from(PadRecords::windowValues(form));
    }
    setDialogs(previous);
    if (!out)
        return 2;
    if (!writeFileWhole(line.padFile, out->xml)) {
        printLine(stderr, QStringLiteral("Cannot write %1").arg(line.padFile));
        return 1;
    }
    printLine(stdout, QStringLiteral("Wrote %1 (PAD 4.0) of \"%2\".").arg(line.padFile, line.program));
    for (const QString& why : out->leftOut)
        printLine(stdout, QStringLiteral("  left out: ") + why);
    return 0;
}

} // namespace PadBatch
