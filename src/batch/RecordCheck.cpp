#include "batch/RecordCheck.h"

#include "batch/BatchPrint.h"
#include "batch/RecordLayout.h"
#include "pad/PadRules.h"
#include "submit/RunWindow.h"
#include "submit/SiteCatalogue.h"

#include <QDir>
#include <QFileInfo>

ListingValues RecordCheck::values(const RunWindow& window)
{
    QStringList controls;
    for (const FieldRule& rule : PadRules::fields())
        controls.append(QString::fromLatin1(rule.control));
    for (const RecordKey& key : RecordLayout::categoryKeys())
        controls.append(QString(key.control));
    controls << QStringLiteral("smtpedit") << QStringLiteral("emailedit");
    ListingValues values;
    for (const QString& control : controls)
        values.insert(control, window.text(control));
    return values;
}

std::vector<Finding> RecordCheck::run(const RunWindow& window, const QStringList& ticked, const UserSites* own)
{
    ListingInput input;
    input.values = values(window);
    input.ticked = ticked;
    input.userSites = own;
    const SiteCatalogue catalogue = SiteCatalogue::forBase(window.basedir());
    input.catalogue = &catalogue;
    const QString path = input.values.value(QStringLiteral("localpath")).trimmed();
    if (!path.isEmpty()) {
        const QFileInfo info(QDir(window.basedir()).filePath(path));
        input.programFile = ProgramFile{info.isFile(), info.isFile() && info.isReadable(), info.size()};
    }
    return ListingCheck::run(input);
}

void RecordCheck::printFindings(const std::vector<Finding>& findings)
{
    int errors = 0;
    for (const Finding& f : findings) {
        printLine(stderr, f.text());
        errors += f.severity == Finding::Severity::Error;
    }
    printLine(stderr, QStringLiteral("Check: %1 errors, %2 warnings").arg(errors).arg(int(findings.size()) - errors));
}
