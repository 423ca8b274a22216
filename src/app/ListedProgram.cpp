#include "app/ListedProgram.h"

#include "app/NameList.h"
#include "app/TForm1.h"
#include "core/LineFile.h"
#include "core/RecordName.h"

#include <QFileInfo>

QString unlistedProgramMessage(const TForm1& form, const QString& program)
{
    // Only a listed program: a company's record file, for one, is no program to submit (and the
    // run's save would list it as one and give it program sections).
    const QStringList listed
        = readLineFile(form.dataPath(QStringLiteral("apps"), QStringLiteral(".dat"))).value_or(QStringList());
    if (!program.isEmpty() && isSafeRecordName(program) && containsName(listed, program)
        && QFileInfo(form.dataPath(program, QStringLiteral(".dat"))).isFile())
        return {};
    QString message = QStringLiteral("No program named \"%1\" in %2/data/apps.dat").arg(program, form.basedir());
    for (const QString& name : listed) {
        if (name.compare(program, Qt::CaseInsensitive) == 0 && name != program)
            return message + QStringLiteral(" (did you mean \"%1\"?)").arg(name);
    }
    return message;
}
