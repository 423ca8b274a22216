#include "FakeRunWindow.h"
#include "submit/FileMineCategoryCodes.h"
#include "submit/FileMineSite.h"
#include "submit/SiteCatalogue.h"

#include <QFile>
#include <QHash>
#include <gtest/gtest.h>

namespace {

QStringList lines(const QString& path)
{
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
    return QString::fromUtf8(f.readAll()).remove(QLatin1Char('\r')).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QString addressWithCategory(const QString& category)
{
    FakeRunWindow w;
    w.texts[QStringLiteral("fileminepd")] = category;
    w.texts[QStringLiteral("platforms")] = QStringLiteral("Windows 95");
    return FileMineSite::address(w, SiteCatalogue::builtIn(QStringLiteral("filemine")), 0);
}

// A text of the shipped category file that the table misses would file the listing nowhere.
TEST(FileMineCategories, EveryLineOfTheShippedListSendsItsCode)
{
    QHash<QString, QString> expected;
    for (const QString& row : lines(QStringLiteral(QUILLET_TEST_DATA_DIR "/filemine_codes.txt")))
        expected.insert(row.section(QLatin1Char('\t'), 0, 0), row.section(QLatin1Char('\t'), 1));
    const QStringList shipped = lines(QStringLiteral(QUILLET_SOURCE_DIR "/sample/cat/filemine.cat"));
    ASSERT_EQ(shipped.size(), 142);
    ASSERT_EQ(expected.size(), 142);
    for (const QString& category : shipped) {
        ASSERT_TRUE(expected.contains(category)) << category.toStdString();
        const QString sent
            = QStringLiteral("&platform=4&prodcat=") + expected.value(category) + QStringLiteral("&archivename=");
        EXPECT_TRUE(addressWithCategory(category).contains(sent)) << category.toStdString();
    }
    EXPECT_EQ(fileMineCategories().rows.size(), 142u);
}

// Line breaks of a multi-line field would end the request line inside the address, and an "&" in a
// value would start a field of its own: values are form-encoded.
TEST(FileMineAddress, LineBreaksAndSpacesNeverSplitTheRequestLine)
{
    FakeRunWindow w;
    w.texts[QStringLiteral("longdesc")] = QStringLiteral("a b\r\nc\nd\re");
    w.texts[QStringLiteral("Memo2")] = QStringLiteral(" x ");
    w.texts[QStringLiteral("appname")] = QStringLiteral("Zip & Go=1");
    const QString a = FileMineSite::address(w, SiteCatalogue::builtIn(QStringLiteral("filemine")), 2047);
    EXPECT_TRUE(a.startsWith(QStringLiteral("http://filemine.example/AddFiles_Save?companyname=&email=")));
    EXPECT_TRUE(a.contains(QStringLiteral("&filedesc=a+b%0D%0Ac%0Ad%0De&archivename=")));
    EXPECT_TRUE(a.contains(
        QStringLiteral("&authornotes=+x+++++++++++++%3E%3E%3E%3E%3E%3E%3E%3E%3E%3E%3ESubmitted+with+Quillet&")));
    EXPECT_TRUE(a.contains(QStringLiteral("&filesize=1K&")));
    EXPECT_TRUE(a.contains(QStringLiteral("&filetitle=Zip+%26+Go%3D1&fileversion=&")));
    EXPECT_FALSE(a.contains(QLatin1Char(' ')));
}

} // namespace
