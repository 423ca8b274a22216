#include "app/PadBatch.h"

#include "app/CommandLine.h"
#include "app/FormRunWindow.h"
#include "app/NameList.h"
#include "app/RecordLayout.h"
#include "app/TForm1.h"
#include "core/Dialogs.h"
#include "core/Errors.h"
#include "core/LineFile.h"
#include "core/ProfileFile.h"
#include "core/RecordName.h"
#include "core/TerminalText.h"
#include "core/WholeFile.h"
#include "pad/PadExport.h"
#include "pad/PadFetch.h"
#include "pad/PadImport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdio>

namespace {

void print(FILE* stream, const QString& text)
{
    std::fputs(terminalSafe(text).toLocal8Bit().constData(), stream);
    std::fputc('\n', stream);
    std::fflush(stream);
}

// Every control the rules name, the site category controls and the mail settings.
QStringList listingControls()
{
    QStringList controls;
    for (const FieldRule& rule : PadRules::fields())
        controls.append(QString::fromLatin1(rule.control));
    for (const RecordKey& key : RecordLayout::categoryKeys())
        controls.append(QString(key.control));
    controls << QStringLiteral("smtpedit") << QStringLiteral("emailedit");
    return controls;
}

ListingValues windowValues(TForm1& form)
{
    FormRunWindow window(form);
    ListingValues values;
    for (const QString& control : listingControls())
        values.insert(control, window.text(control));
    return values;
}

bool isListed(TForm1& form, const QString& program)
{
    const QStringList listed
        = readLineFile(form.dataPath(QStringLiteral("apps"), QStringLiteral(".dat"))).value_or(QStringList());
    return isSafeRecordName(program) && containsName(listed, program)
        && QFileInfo(form.dataPath(program, QStringLiteral(".dat"))).isFile();
}

// Loads a program's record into the window as picking its name does.
void load(TForm1& form, const QString& program)
{
    guarded([&] { form.getsettings(); });
    guarded([&] {
        form.appnameEnter();
        form.appname->setEditText(program);
        form.appnameChange();
    });
}

QHash<QString, QStringList> categoryLists(const QString& basedir)
{
    QHash<QString, QStringList> lists;
    for (const Site& site : SiteCatalogue::sites()) {
        if (site.category.layout != CategoryLayout::PickList && site.category.layout != CategoryLayout::ShareDir)
            continue;
        for (const SiteCategory& c : site.category.controls) {
            if (!*c.control || !*c.catFile)
                continue;
            if (auto items = readLineFile(basedir + QStringLiteral("/cat/") + QString::fromLatin1(c.catFile)))
                lists.insert(QString::fromLatin1(c.control), *items);
        }
    }
    return lists;
}

std::optional<QByteArray> readSource(const QString& source, const QString& basedir, QString* error)
{
    if (PadFetch::isAddress(source)) {
        const QString caFile = ProfileFile::read(
            basedir + QStringLiteral("/cat/catalogue.dat"), QStringLiteral("ALL"), QStringLiteral("CAFILE"));
        return PadFetch::get(source, caFile, error);
    }
    QFile file(source);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("cannot read %1: %2").arg(source, file.errorString());
        return std::nullopt;
    }
    if (file.size() > PadFetch::MaxBytes) {
        *error = QStringLiteral("%1 is larger than %2 MB").arg(source).arg(PadFetch::MaxBytes / (1024 * 1024));
        return std::nullopt;
    }
    return file.readAll();
}

// The values the import would change in the window as it stands.
QStringList changes(TForm1& form, const ListingValues& values)
{
    FormRunWindow window(form);
    QStringList changed;
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        QString now = window.text(it.key());
        now.replace(QLatin1String("\r\n"), QLatin1String("\n"));
        if (now.trimmed() != it.value().trimmed())
            changed.append(it.key());
    }
    return changed;
}

} // namespace

namespace PadBatch {

int importPad(const CommandLine& line)
{
    const QString basedir = QDir::currentPath();
    QString error;
    const std::optional<QByteArray> bytes = readSource(line.padSource, basedir, &error);
    std::optional<PadDocument> pad;
    if (bytes)
        pad = PadDocument::parse(*bytes, &error);
    if (!pad) {
        print(stderr, QStringLiteral("Cannot import %1: %2").arg(line.padSource, error));
        return 1;
    }
    const PadImport imported = PadImport::from(*pad, categoryLists(basedir));
    const QString program = imported.values.value(QStringLiteral("appname"));
    if (program.isEmpty()) {
        print(stderr,
            QStringLiteral("Cannot import %1: it names no program that can have a record (Program_Name)")
                .arg(line.padSource));
        for (const QString& why : imported.leftOut)
            print(stderr, QStringLiteral("  left out: ") + why);
        return 1;
    }
    const QString company = imported.values.value(QStringLiteral("compname"));

    Dialogs* previous = setDialogs(nullptr);
    TForm1 form;
    load(form, program);
    const bool programExists = isListed(form, program);
    if (!company.isEmpty()) {
        guarded([&] {
            form.compname->setEditText(company);
            form.compnameChange();
        });
    }
    const bool companyExists = !company.isEmpty() && QFileInfo(form.dataPath(company, QStringLiteral(".dat"))).isFile();
    const QStringList changed = changes(form, imported.values);
    if ((programExists || companyExists) && !changed.isEmpty() && !line.force) {
        print(stderr,
            QStringLiteral("\"%1\" already has a record here; the PAD file would change %2 of its fields (%3). "
                           "Nothing was changed: import with --force to update them.")
                .arg(programExists ? program : company)
                .arg(changed.size())
                .arg(changed.join(QStringLiteral(", "))));
        setDialogs(previous);
        return 1;
    }
    FormRunWindow window(form);
    for (auto it = imported.values.cbegin(); it != imported.values.cend(); ++it) {
        if (it.key() != QLatin1String("appname") && it.key() != QLatin1String("compname"))
            window.setText(it.key(), it.value());
    }
    bool saved = false;
    guarded([&] {
        form.savesite();
        saved = true;
    });
    setDialogs(previous);
    if (!saved) {
        print(stderr, QStringLiteral("Cannot store the record of \"%1\"").arg(program));
        return 1;
    }
    print(stdout,
        QStringLiteral("%1 \"%2\" from %3 (PAD %4): %5 fields filled, %6 left out.")
            .arg(programExists ? QStringLiteral("Updated") : QStringLiteral("Created"), program, line.padSource,
                pad->version.isEmpty() ? QStringLiteral("version not stated") : pad->version)
            .arg(imported.filled.size())
            .arg(imported.leftOut.size()));
    for (const QString& f : imported.filled)
        print(stdout, QStringLiteral("  filled: ") + f);
    for (const QString& why : imported.leftOut)
        print(stdout, QStringLiteral("  left out: ") + why);
    return 0;
}

int exportPad(const CommandLine& line)
{
    Dialogs* previous = setDialogs(nullptr);
    TForm1 form;
    if (!isListed(form, line.program)) {
        print(stderr, QStringLiteral("No program named \"%1\" in %2/data/apps.dat").arg(line.program, form.basedir));
        setDialogs(previous);
        return 2;
    }
    load(form, line.program);
    const PadExport out = PadExport::from(windowValues(form));
    setDialogs(previous);
    if (!writeFileWhole(line.padFile, out.xml)) {
        print(stderr, QStringLiteral("Cannot write %1").arg(line.padFile));
        return 1;
    }
    print(stdout, QStringLiteral("Wrote %1 (PAD 4.0) of \"%2\".").arg(line.padFile, line.program));
    for (const QString& why : out.leftOut)
        print(stdout, QStringLiteral("  left out: ") + why);
    return 0;
}

std::vector<Finding> checkWindow(TForm1& form)
{
    ListingInput input;
    input.values = windowValues(form);
    for (QLatin1StringView box : RecordLayout::tickBoxes()) {
        if (static_cast<QCheckBox*>(form.control(QString(box)))->isChecked())
            input.ticked.append(QString(box));
    }
    const SiteCatalogue catalogue = SiteCatalogue::forBase(form.basedir);
    input.catalogue = &catalogue;
    const QString path = input.values.value(QStringLiteral("localpath")).trimmed();
    if (!path.isEmpty()) {
        const QFileInfo info(QDir(form.basedir).filePath(path));
        input.programFile = ProgramFile{info.isFile(), info.isFile() && info.isReadable(), info.size()};
    }
    return ListingCheck::run(input);
}

void printFindings(const std::vector<Finding>& findings)
{
    int errors = 0;
    for (const Finding& f : findings) {
        print(stderr, f.text());
        errors += f.severity == Finding::Severity::Error;
    }
    print(stderr, QStringLiteral("Check: %1 errors, %2 warnings").arg(errors).arg(int(findings.size()) - errors));
}

int check(const CommandLine& line)
{
    Dialogs* previous = setDialogs(nullptr);
    int code = Clean;
    {
        TForm1 form;
        if (!isListed(form, line.program)) {
            print(
                stderr, QStringLiteral("No program named \"%1\" in %2/data/apps.dat").arg(line.program, form.basedir));
            setDialogs(previous);
            return 2;
        }
        load(form, line.program);
        const std::vector<Finding> findings = checkWindow(form);
        printFindings(findings);
        code = ListingCheck::hasErrors(findings) ? Errors : findings.empty() ? Clean : WarningsOnly;
    }
    setDialogs(previous);
    return code;
}

} // namespace PadBatch
