#include "core/ProfileFile.h"
#include "core/Errors.h"
#include "support/TempBase.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

class ProfileFileTest : public ::testing::Test
{
protected:
    TempBase base;
    QString path = base.file(QStringLiteral("data/prog.dat"));
};

TEST_F(ProfileFileTest, MissingFileReadsDefaultsAndFirstWriteCreatesIt)
{
    ProfileFile file(path);
    EXPECT_FALSE(file.existed());
    EXPECT_EQ(file.readString(QStringLiteral("APPINFO"), QStringLiteral("APPURL"), QStringLiteral("http://")),
        QStringLiteral("http://"));
    file.writeString(QStringLiteral("COMPANY"), QStringLiteral("CONAME"), QStringLiteral("Acme"));
    file.writeString(QStringLiteral("APPINFO"), QStringLiteral("FILENAME"), QStringLiteral("a.zip"));
    file.writeString(QStringLiteral("COMPANY"), QStringLiteral("CONTACT"), QStringLiteral("Jo"));
    file.commit();
    EXPECT_EQ(base.read(QStringLiteral("data/prog.dat")),
        QByteArray("[COMPANY]\r\nCONAME=Acme\r\nCONTACT=Jo\r\n[APPINFO]\r\nFILENAME=a.zip\r\n"));
}

// Reads between writes see the sections where the writes left them: moved down by a key added
// above, or made by a value that closes a key's "[" into a header line.
TEST_F(ProfileFileTest, ReadsBetweenWritesFindTheSectionsWhereTheyAreNow)
{
    base.write(QStringLiteral("data/prog.dat"), "[A]\r\nk=1\r\n[B]\r\nk=2\r\n[weird\r\n");
    ProfileFile file(path);
    EXPECT_EQ(file.readString(QStringLiteral("B"), QStringLiteral("k")), QStringLiteral("2"));
    file.writeString(QStringLiteral("A"), QStringLiteral("j"), QStringLiteral("3"));
    EXPECT_EQ(file.readString(QStringLiteral("B"), QStringLiteral("k")), QStringLiteral("2"));
    file.writeString(QStringLiteral("B"), QStringLiteral("[odd"), QStringLiteral("x]"));
    EXPECT_EQ(
        file.readString(QStringLiteral("odd=x"), QStringLiteral("k"), QStringLiteral("none")), QStringLiteral("none"));
    file.writeString(QStringLiteral("odd=x"), QStringLiteral("k"), QStringLiteral("4"));
    file.commit();
    EXPECT_EQ(base.read(QStringLiteral("data/prog.dat")),
        QByteArray("[A]\r\nk=1\r\nj=3\r\n[B]\r\nk=2\r\n[weird\r\n[odd=x]\r\nk=4\r\n"));
}

// Keys are found through an index of each section: the first of two entries of a name (in any
// case) is the one read and written, and lines inserted before a key do not lose it.
TEST_F(ProfileFileTest, TheFirstEntryOfAKeyIsReadAndWrittenWhereverItNowStands)
{
    base.write(QStringLiteral("data/prog.dat"), "[A]\r\nKey=first\r\nkey=second\r\n[B]\r\nk=b\r\n");
    ProfileFile file(path);
    EXPECT_EQ(file.readString(QStringLiteral("a"), QStringLiteral("KEY")), QStringLiteral("first"));
    file.writeString(QStringLiteral("A"), QStringLiteral("kEY"), QStringLiteral("changed"));
    file.writeString(QStringLiteral("A"), QStringLiteral("new"), QStringLiteral("n"));
    EXPECT_EQ(file.readString(QStringLiteral("B"), QStringLiteral("K")), QStringLiteral("b"));
    EXPECT_EQ(file.readString(QStringLiteral("A"), QStringLiteral("key")), QStringLiteral("changed"));
    file.writeString(QStringLiteral("B"), QStringLiteral("k"), QStringLiteral("b2"));
    file.commit();
    EXPECT_EQ(base.read(QStringLiteral("data/prog.dat")),
        QByteArray("[A]\r\nKey=changed\r\nkey=second\r\nnew=n\r\n[B]\r\nk=b2\r\n"));
}

// A section is found under its name in any case, accented names too and in either encoding, and of
// two sections of one name the first is the one read.
TEST_F(ProfileFileTest, TheFirstSectionOfANameIsReadWhateverItsCase)
{
    const QString accented = QStringLiteral("CAF\u00c9");
    for (const QByteArray& content : {QByteArray("[Caf\xc3\xa9]\r\nk=1\r\n[CAF\xc3\x89]\r\nk=2\r\nonly=2\r\n[b]\r\n"),
             QByteArray("[Caf\xe9]\r\nk=1\r\n[CAF\xc9]\r\nk=2\r\nonly=2\r\n[b]\r\n")}) {
        base.write(QStringLiteral("data/prog.dat"), content);
        const ProfileFile file(path);
        EXPECT_EQ(file.readString(accented, QStringLiteral("K")), QStringLiteral("1")) << content.constData();
        EXPECT_EQ(file.readString(accented, QStringLiteral("only"), QStringLiteral("none")), QStringLiteral("none"));
        EXPECT_EQ(
            file.readString(QStringLiteral("B"), QStringLiteral("k"), QStringLiteral("none")), QStringLiteral("none"));
        EXPECT_EQ(
            file.readString(QStringLiteral("c"), QStringLiteral("k"), QStringLiteral("none")), QStringLiteral("none"));
    }
}

TEST_F(ProfileFileTest, HandEditedFileIsReadAndKeepsItsOtherLinesOnWrite)
{
    base.write(QStringLiteral("data/prog.dat"),
        "[sites]\n tucowscb = 1 \nextra=keep me\n\n[AppInfo]\r\nversion=  \"2.0 beta\"  \r\n"
        "Name=old\r\n; comment line\r\n[COMPANY]\rCONAME=Acme\r");
    ProfileFile file(path);
    EXPECT_EQ(file.readString(QStringLiteral("APPINFO"), QStringLiteral("VERSION")), QStringLiteral("2.0 beta"));
    EXPECT_TRUE(file.readBool(QStringLiteral("SITES"), QStringLiteral("tucowscb")));
    EXPECT_EQ(file.readString(QStringLiteral("Company"), QStringLiteral("coname")), QStringLiteral("Acme"));

    file.writeString(QStringLiteral("APPINFO"), QStringLiteral("VERSION"), QStringLiteral("3.0"));
    file.writeString(QStringLiteral("SITES"), QStringLiteral("win95cb"), QStringLiteral("0"));
    file.writeString(QStringLiteral("APPINFO"), QStringLiteral("PATH"), QString());
    file.commit();
    // Replaced in place under the file's own key spelling, appended after the section's last key,
    // and every line the program did not write survives.
    EXPECT_EQ(base.read(QStringLiteral("data/prog.dat")),
        QByteArray("[sites]\r\n tucowscb = 1 \r\nextra=keep me\r\nwin95cb=0\r\n\r\n[AppInfo]\r\nversion=3.0\r\n"
                   "Name=old\r\n; comment line\r\nPATH=\r\n[COMPANY]\r\nCONAME=Acme\r\n"));
}

TEST_F(ProfileFileTest, ValuesAreCutAt1023CharactersAndUnquoted)
{
    const QString longValue(2000, QLatin1Char('x'));
    ProfileFile::write(path, QStringLiteral("APPINFO"), QStringLiteral("SHORTDESC"), longValue);
    EXPECT_EQ(ProfileFile::read(path, QStringLiteral("APPINFO"), QStringLiteral("SHORTDESC")).size(), 1023);
    // Stored whole: only reading cuts.
    EXPECT_TRUE(base.read(QStringLiteral("data/prog.dat")).contains(QByteArray(2000, 'x')));

    base.write(QStringLiteral("data/q.dat"), "[A]\r\nq=\"\"\r\nh=\"half\r\nb=   \r\n");
    ProfileFile q(base.file(QStringLiteral("data/q.dat")));
    EXPECT_EQ(q.readString(QStringLiteral("A"), QStringLiteral("q"), QStringLiteral("dflt")), QString());
    EXPECT_EQ(q.readString(QStringLiteral("A"), QStringLiteral("h")), QStringLiteral("\"half"));
    EXPECT_EQ(q.readString(QStringLiteral("A"), QStringLiteral("b"), QStringLiteral("dflt")), QString());
}

TEST_F(ProfileFileTest, TickValuesFollowTheNumberRules)
{
    struct Case
    {
        const char* value;
        bool ticked;
    };
    const Case cases[]
        = {{"1", true}, {"0", false}, {"2", true}, {"-1", true}, {"0x10", true}, {"0x0", false}, {"$ff", true},
            {"$0", false}, {"yes", false}, {"", false}, {"1a", false}, {" 1 ", true}, {"true", false}, {"00", false}};
    for (const Case& c : cases)
        EXPECT_EQ(ProfileFile::isTicked(QString::fromLatin1(c.value)), c.ticked) << c.value;
    ProfileFile file(path);
    EXPECT_FALSE(file.readBool(QStringLiteral("SITES"), QStringLiteral("missing")));
    file.writeBool(QStringLiteral("SITES"), QStringLiteral("a"), true);
    file.writeBool(QStringLiteral("SITES"), QStringLiteral("b"), false);
    file.commit();
    EXPECT_EQ(base.read(QStringLiteral("data/prog.dat")), QByteArray("[SITES]\r\na=1\r\nb=0\r\n"));
}

TEST_F(ProfileFileTest, FailedWriteRaisesAndKeepsThePreviousFile)
{
    ProfileFile::write(path, QStringLiteral("A"), QStringLiteral("k"), QStringLiteral("v1"));
    QFile::setPermissions(base.file(QStringLiteral("data")), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    ProfileFile file(path);
    file.writeString(QStringLiteral("A"), QStringLiteral("k"), QStringLiteral("v2"));
    try {
        file.commit();
        FAIL() << "commit into a read-only folder succeeded";
    } catch (const EWriteError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("Unable to write to ") + path);
    }
    QFile::setPermissions(
        base.file(QStringLiteral("data")), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_EQ(ProfileFile::read(path, QStringLiteral("A"), QStringLiteral("k")), QStringLiteral("v1"));

    EXPECT_THROW(ProfileFile::write(base.file(QStringLiteral("nofolder/x.dat")), QStringLiteral("A"),
                     QStringLiteral("k"), QStringLiteral("v")),
        EWriteError);
}

} // namespace
