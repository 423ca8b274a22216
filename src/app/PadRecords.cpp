#include "app/PadRecords.h"

#include "app/FormRunWindow.h"
#include "app/TForm1.h"
#include "batch/RecordCheck.h"
#include "batch/RecordLayout.h"
#include "core/Dialogs.h"
#include "core/LineFile.h"
#include "core/ProfileFile.h"
#include "pad/PadFetch.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

// The controls whose text the import would change, as the window stands.
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

namespace PadRecords {

ListingValues windowValues(TForm1& form)
{
    return RecordCheck::values(FormRunWindow(form));
}

std::vector<Finding> checkWindow(TForm1& form)
{
    QStringList ticked;
    for (QLatin1StringView box : RecordLayout::tickBoxes()) {
        if (static_cast<QCheckBox*>(form.control(QString(box)))->isChecked())
            ticked.append(QString(box));
    }
    for (const QString& box : form.sitespage()->userTickBoxes()) {
        if (static_cast<QCheckBox*>(form.control(box))->isChecked())
            ticked.append(box);
    }
    return RecordCheck::run(FormRunWindow(form), ticked, &form.sitespage()->userSites());
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

Stored storeImport(TForm1& form, const PadImport& imported,
    const std::function<bool(const QString& name, const QStringList& changed)>& mayUpdate)
{
    const QString program = imported.values.value(QStringLiteral("appname"));
    const QString company = imported.values.value(QStringLiteral("compname"));
    // Picked as the user picks it: unsaved edits of another record are offered to be saved first.
    guarded([&] {
        form.appnameEnter();
        form.appname()->setEditText(program);
        form.appnameChange();
    });
    if (form.appname()->currentText() != program)
        return Stored::Declined;
    const bool programExists = QFileInfo(form.dataPath(program, QStringLiteral(".dat"))).isFile();
    if (!company.isEmpty()) {
        guarded([&] {
            form.compname()->setEditText(company);
            form.compnameChange();
        });
    }
    const bool companyExists = !company.isEmpty() && QFileInfo(form.dataPath(company, QStringLiteral(".dat"))).isFile();
    const QStringList changed = changes(form, imported.values);
    if ((programExists || companyExists) && !changed.isEmpty()
        && !mayUpdate(programExists ? program : company, changed))
        return Stored::Declined;

    FormRunWindow window(form);
    for (auto it = imported.values.cbegin(); it != imported.values.cend(); ++it) {
        if (it.key() != QLatin1String("appname") && it.key() != QLatin1String("compname"))
            window.setText(it.key(), it.value());
    }
    if (!guarded([&] { form.savesite(); }))
        return Stored::Failed;
    return programExists ? Stored::Updated : Stored::Created;
}

QStringList summary(const PadImport& imported, Stored stored, const QString& source, const QString& padVersion)
{
    QStringList lines{QStringLiteral("%1 \"%2\" from %3 (PAD %4): %5 fields filled, %6 left out.")
                          .arg(stored == Stored::Updated ? QStringLiteral("Updated") : QStringLiteral("Created"),
                              imported.values.value(QStringLiteral("appname")), source,
                              padVersion.isEmpty() ? QStringLiteral("version not stated") : padVersion)
                          .arg(imported.filled.size())
                          .arg(imported.leftOut.size())};
    for (const QString& f : imported.filled)
        lines.append(QStringLiteral("  filled: ") + f);
    for (const QString& why : imported.leftOut)
        lines.append(QStringLiteral("  left out: ") + why);
    return lines;
}

} // namespace PadRecords
