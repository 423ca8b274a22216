#include "app/SiteLinks.h"
#include "app/CategoryFiles.h"
#include "core/Errors.h"
#include "support/TempBase.h"
#include "support/Text.h"

#include <gtest/gtest.h>

namespace {

TEST(CategoryFiles, WincentSubcategoryFileNeedsTheExactLowerCaseName)
{
    const struct
    {
        const char* category;
        const char* file;
    } cases[] = {
        {"desktop", "wcdesktop.cat"},
        {"internet", "wcinternet.cat"},
        {"multimedia", "wcmultimedia.cat"},
        {"productivity", "wcproductivity.cat"},
        {"programming", "wcprogramming.cat"},
        {"updates", "wcupdates.cat"},
        {"utilities", "wcutilities.cat"},
        {"world_wide_web", "wcwww.cat"},
        {"Desktop", ""},
        {"DESKTOP", ""},
        {"desktop ", ""},
        {"www", ""},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CategoryFiles::wincentSubcategoryFile(s(c.category)), s(c.file)) << c.category;
}

TEST(SiteLinks, NamesAreSortedWithoutRegardToCase)
{
    TempBase base;
    base.write(QStringLiteral("cat/sites.dat"), "zeta\r\nAlpha\r\nbeta\nGamma\rdelta\r\n");
    EXPECT_EQ(SiteLinks(base.file(QStringLiteral("cat"))).names(),
        (QStringList{s("Alpha"), s("beta"), s("delta"), s("Gamma"), s("zeta")}));
}

TEST(SiteLinks, MissingNamesFileIsAnOpenError)
{
    TempBase base;
    const QString cat = base.file(QStringLiteral("cat"));
    try {
        SiteLinks(cat).names();
        FAIL() << "no error";
    } catch (const EOpenError& e) {
        EXPECT_EQ(e.message(), s("Cannot open file ") + cat + s("/sites.dat"));
    }
}

TEST(SiteLinks, AddressLookUp)
{
    TempBase base;
    const SiteLinks links(base.file(QStringLiteral("cat")));
    // Without urls.dat the name itself is the address.
    EXPECT_EQ(links.address(s("TuCows")), s("TuCows"));
    EXPECT_EQ(links.address(s("")), s(""));

    base.write(QStringLiteral("cat/urls.dat"),
        "[OTHER]\r\nSimtel=http://wrong.example/\r\n[URLS]\r\nTuCows=http://www.tucows.example/\r\n"
        "c:\\shareware = http://www.csw.example/ \r\n");
    const struct
    {
        const char* name;
        const char* address;
    } cases[] = {
        {"TuCows", "http://www.tucows.example/"},
        {"tucows", "http://www.tucows.example/"}, // keys compare without regard to case
        {"c:\\shareware", "http://www.csw.example/"},
        {"Simtel", ""}, // only the URLS section counts
        {"Nowhere", ""},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(links.address(s(c.name)), s(c.address)) << c.name;
}

} // namespace
