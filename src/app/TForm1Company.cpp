// Company records: the company list and the company's own record file.
#include "app/TForm1.h"

#include "app/ControlText.h"
#include "app/NameList.h"
#include "app/RecordLayout.h"
#include "core/Errors.h"
#include "core/ProfileFile.h"
#include "core/RecordName.h"

#include <QComboBox>

void TForm1::compnameEnter() { }

void TForm1::compnameChange() { }

void TForm1::savecompanyClick() { }

void TForm1::addCompanyToList()
{
    addToNameList(dataPath(QStringLiteral("companies"), QStringLiteral(".dat")), compname, compname->currentText());
}

void TForm1::writeCompanyRecord()
{
    const QString name = compname->currentText();
    const QString path = dataPath(name, QStringLiteral(".dat"));
    if (!isSafeRecordName(name))
        throw EWriteError(path);
    ProfileFile record(path);
    for (const RecordKey& key : RecordLayout::companyKeys())
        record.writeString(
            QString(RecordLayout::Company), QString(key.key), controlText(control(QString(key.control))));
    record.commit();
}
