// Files written on Windows (Windows-1252) keep every byte through a load and a save in the window.
#include "FormOnBase.h"

#include "app/ControlText.h"
#include "core/TextEncoding.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace {

// Every character Windows-1252 has above ASCII: the bytes 0x80 to 0xFF.
QString highCharacters()
{
    QByteArray bytes;
    for (int b = 0x80; b <= 0xFF; ++b)
        bytes.append(char(b));
    return decodeText(bytes, TextEncoding::Windows1252);
}

const char* const kProgram = "Caf\u00e9 Tool";
const char* const kCompany = "Soci\u00e9t\u00e9 \u00d1";

// Every kind of file the window reads and writes back.
const char* const kFiles[] = {"data/apps.dat", "data/companies.dat", "data/Caf\u00e9 Tool.dat",
    "data/Caf\u00e9 Tool.lds", "data/Caf\u00e9 Tool.nts", "data/Soci\u00e9t\u00e9 \u00d1.dat", "cat/settings.dat"};

class StoredBytes : public FormOnBase
{
protected:
    // A record saved by the window, then turned into the bytes Windows would have written.
    QMap<QString, QByteArray> legacyBase()
    {
        setControlText(form.appname(), q(kProgram));
        setControlText(form.compname(), q(kCompany));
        setControlText(form.conaddr(), highCharacters());
        setControlText(form.eval(), highCharacters());
        setControlText(form.longdesc(), q("First\n") + highCharacters() + q("\nlast"));
        setControlText(form.Memo2(), highCharacters());
        setControlText(form.nameedit(), highCharacters());
        form.savesite();
        form.savesettings();
        QMap<QString, QByteArray> legacy;
        for (const char* file : kFiles) {
            const QString name = q(file);
            const QByteArray utf8 = base.read(name);
            EXPECT_FALSE(utf8.isEmpty()) << file;
            legacy[name] = encodeText(QString::fromUtf8(utf8), TextEncoding::Windows1252);
            base.write(name, legacy[name]);
        }
        return legacy;
    }
};

// A legacy base loaded and saved in a new window keeps every byte; a character the code page
// lacks then turns the one file that must hold it into UTF-8, whole, and no other.
TEST_F(StoredBytes, EachFileKeepsItsBytesUntilItMustHoldMore)
{
    QMap<QString, QByteArray> legacy = legacyBase();
    TForm1 other;
    other.setBasedir(base.path());
    other.getsettings();
    setControlText(other.appname(), q(kProgram));
    other.appnameChange();
    EXPECT_EQ(other.conaddr()->text(), highCharacters());
    EXPECT_EQ(memoText(other.Memo2()), highCharacters());
    other.savesite();
    other.savesettings();
    for (auto it = legacy.begin(); it != legacy.end(); ++it)
        EXPECT_EQ(base.read(it.key()), it.value()) << it.key().toStdString();

    setControlText(other.eval(), q("\u0141\u00f3d\u017a"));
    other.savesite();
    const QByteArray record = base.read(q("data/Caf\u00e9 Tool.dat"));
    EXPECT_TRUE(record.contains("EVAL=\xc5\x81\xc3\xb3"
                                "d\xc5\xba\r\n"));
    EXPECT_TRUE(record.contains("CONAME=Soci\xc3\xa9t\xc3\xa9 \xc3\x91\r\n"));
    legacy.remove(q("data/Caf\u00e9 Tool.dat"));
    for (auto it = legacy.begin(); it != legacy.end(); ++it)
        EXPECT_EQ(base.read(it.key()), it.value()) << it.key().toStdString();
}

} // namespace
