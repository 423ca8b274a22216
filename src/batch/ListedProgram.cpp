#include "batch/ListedProgram.h"

#include "batch/NameFile.h"
#include "core/LineFile.h"
#include "core/RecordName.h"

#include <QFileInfo>

QString unlistedProgramMessage(const QString& basedir, const QString& program)
{
    // Only a listed program: a company's record file, for one, is no program to submit (and the
    // run's save would list it as one and give it program sections).
    const QStringList listed
        = readLineFile(recordPath(basedir + QStringLiteral("/data"), QStringLiteral("apps"), QStringLiteral(".dat")))
              .value_or(QStringList());
    if (!program.isEmpty() && isSafeRecordName(program) && containsName(listed, program)
        && QFileInfo(recordPath(basedir + QStringLiteral("/data"), program, QStringLiteral(".dat"))).isFile())
        return {};
    QString message = QStringLiteral("No program named \"%1\" in %2/data/apps.dat").arg(program, basedir);
    for (const QString& name : listed) {
        if (name.compare(program, Qt::CaseInsensitive) == 0 && name != program)
            return message + QStringLiteral(" (did you mean \"%1\"?)").arg(name);
    }
    return message;
}
