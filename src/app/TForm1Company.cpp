// Company records: the company list and the company's own record file.
#include "app/TForm1.h"

#include "app/ComboItems.h"
#include "app/ControlText.h"
#include "app/NameList.h"
#include "app/RecordLayout.h"
#include "core/Errors.h"
#include "core/LineFile.h"
#include "core/ProfileFile.h"
#include "core/RecordName.h"

#include <QComboBox>
#include <QFileInfo>

void TForm1::compnameEnter()
{
    if (const auto names = readLineFile(dataPath(QStringLiteral("companies"), QStringLiteral(".dat"))))
        replaceComboItems(compname, *names);
}

void TForm1::compnameChange()
{
    const QString name = compname->currentText();
    if (!isSafeRecordName(name))
        return;
    const QString path = dataPath(name, QStringLiteral(".dat"));
    if (!QFileInfo(path).isFile())
        return;
    const ProfileFile file(path);
    for (const RecordKey& key : RecordLayout::companyKeys())
        setControlText(
            control(QString(key.control)), file.readString(QString(RecordLayout::Company), QString(key.key)));
}

void TForm1::savecompanyClick()
{
    addCompanyToList();
    writeCompanyRecord();
}

void TForm1::addCompanyToList()
{
    const QString name = compname->currentText();
    // A name that cannot have a record of its own is refused before anything is written.
    if (!isSafeRecordName(name))
        throw EWriteError(dataPath(name, QStringLiteral(".dat")));
    // The list lives in the data folder, so the folder must be there before the list is written.
    ensureDataFolder();
    addToNameList(dataPath(QStringLiteral("companies"), QStringLiteral(".dat")), compname, name);
}

void TForm1::writeCompanyRecord()
{
    const QString name = compname->currentText();
    const QString path = dataPath(name, QStringLiteral(".dat"));
    if (!isSafeRecordName(name))
        throw EWriteError(path);
    ensureDataFolder();
    ProfileFile file(path);
    writeControls(file, RecordLayout::Company, RecordLayout::companyKeys());
    file.commit();
}
