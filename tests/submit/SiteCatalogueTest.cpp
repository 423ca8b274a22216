#include "submit/SiteCatalogue.h"
#include "submit/RecipeBook.h"
#include "support/TempBase.h"

#include <QFile>
#include <QSet>

#include <gtest/gtest.h>

namespace {

TEST(SiteCatalogue, SixtyEntriesWithDistinctIdsAndTickBoxes)
{
    const auto& entries = SiteCatalogue::entries();
    ASSERT_EQ(entries.size(), 60u);
    QSet<QString> ids, boxes;
    for (const SiteEntry& e : entries) {
        EXPECT_FALSE(ids.contains(e.id)) << e.id.toStdString();
        ids.insert(e.id);
        EXPECT_FALSE(e.newBox.isEmpty() && e.updateBox.isEmpty()) << e.id.toStdString();
        for (const QString& box : {e.newBox, e.updateBox}) {
            if (box.isEmpty())
                continue;
            EXPECT_FALSE(boxes.contains(box)) << box.toStdString();
            boxes.insert(box);
        }
    }
    EXPECT_EQ(boxes.size(), 114);
    EXPECT_EQ(SiteCatalogue::siteKeys().size(), 57);
}

// A ticked entry without a recipe is walked and silently does nothing.
TEST(SiteCatalogue, EveryEntryHasARecipe)
{
    ASSERT_EQ(RecipeBook::rows().size(), SiteCatalogue::entries().size());
    for (const RecipeBook::Row& row : RecipeBook::rows())
        EXPECT_TRUE(row.recipe) << row.entry.id.toStdString();
}

TEST(SiteCatalogue, HttpFormSitesSitInTheirPlacesOfTheWalk)
{
    // Position (1-based), id, cancel test: the run's order decides which cancel test stops what.
    const struct
    {
        int row;
        const char* id;
        bool cancelTest;
    } rows[] = {{24, "essen", true}, {46, "sharein", false}, {47, "warehouse", true}, {48, "fking", false},
        {49, "lg", false}, {50, "swjunkie", false}, {52, "sharedir", false}, {53, "pcwin", true}, {55, "csw", false},
        {56, "sshak", false}, {57, "swarecent", true}, {3, "bit32.new", false}, {4, "bit32.update", false}};
    for (const auto& r : rows) {
        const SiteEntry& e = SiteCatalogue::entries().at(r.row - 1);
        EXPECT_EQ(e.id, QLatin1String(r.id)) << r.row;
        EXPECT_EQ(e.cancelTest, r.cancelTest) << r.id;
    }
    EXPECT_EQ(SiteCatalogue::entries().at(2).siteKey, QLatin1String("bit32"));
}

TEST(SiteCatalogue, BuiltInEndpointsStayUnderTheReservedDomain)
{
    const SiteCatalogue catalogue;
    for (const QString& key : SiteCatalogue::siteKeys()) {
        const SiteEndpoints e = catalogue.endpoints(key);
        for (const QString& v : {e.host, e.ftpHost, e.mailbox, e.mailbox2})
            EXPECT_TRUE(v.endsWith(QLatin1String(".example"))) << v.toStdString();
        EXPECT_TRUE(e.page.startsWith(QStringLiteral("http://") + e.host + QLatin1Char('/')));
    }
}

struct OverrideCase
{
    const char* name;
    const char* file;
    const char* site;
    SiteEndpoints expected;
};

class CatalogueOverride : public ::testing::TestWithParam<OverrideCase>
{
};

TEST_P(CatalogueOverride, FileValuesReplaceBuiltIns)
{
    const OverrideCase& c = GetParam();
    TempBase base;
    base.write(QStringLiteral("cat/catalogue.dat"), c.file);
    const SiteEndpoints e = SiteCatalogue::forBase(base.path()).endpoints(QString::fromLatin1(c.site));
    EXPECT_EQ(e.host, c.expected.host);
    EXPECT_EQ(e.ftpHost, c.expected.ftpHost);
    EXPECT_EQ(e.mailbox, c.expected.mailbox);
    EXPECT_EQ(e.mailbox2, c.expected.mailbox2);
    EXPECT_EQ(e.page, c.expected.page);
    EXPECT_EQ(e.label, c.expected.label);
    EXPECT_EQ(e.shortName, c.expected.shortName);
}

SiteEndpoints withChanges(
    const char* site, std::initializer_list<std::pair<QString SiteEndpoints::*, const char*>> changes)
{
    SiteEndpoints e = SiteCatalogue::builtIn(QString::fromLatin1(site));
    for (const auto& [member, value] : changes)
        e.*member = QString::fromUtf8(value);
    return e;
}

INSTANTIATE_TEST_SUITE_P(Files, CatalogueOverride,
    ::testing::Values(
        OverrideCase{"AllPointsEverySiteWithoutItsOwn", "[ALL]\r\nHOST=127.0.0.1:8080\r\nFTPHOST=127.0.0.1:2121\r\n",
            "lg",
            withChanges("lg", {{&SiteEndpoints::host, "127.0.0.1:8080"}, {&SiteEndpoints::ftpHost, "127.0.0.1:2121"}})},
        OverrideCase{"OwnValueWinsOverAll", "[ALL]\r\nHOST=127.0.0.1:8080\r\n[LG]\r\nHOST=lg.test:81\r\n", "lg",
            withChanges("lg", {{&SiteEndpoints::host, "lg.test:81"}})},
        OverrideCase{"EmptyOwnValueFallsBackToAll", "[lg]\r\nHOST=\r\n[ALL]\r\nHOST=10.0.0.1\r\n", "lg",
            withChanges("lg", {{&SiteEndpoints::host, "10.0.0.1"}})},
        OverrideCase{"AllDoesNotCarryMailboxes", "[ALL]\r\nMAILBOX=x@y.example\r\n", "essen", withChanges("essen", {})},
        OverrideCase{"MailboxesAndPage",
            "[essen]\r\nMAILBOX=from@e.test\r\nMAILBOX2=to@e.test\r\nPAGE=http://e.test/thanks\r\n", "essen",
            withChanges("essen",
                {{&SiteEndpoints::mailbox, "from@e.test"}, {&SiteEndpoints::mailbox2, "to@e.test"},
                    {&SiteEndpoints::page, "http://e.test/thanks"}})},
        OverrideCase{"LabelBringsItsShortName", "[winsw]\r\nLABEL=The Archive\r\n", "winsw",
            withChanges("winsw", {{&SiteEndpoints::label, "The Archive"}, {&SiteEndpoints::shortName, "Archive"}})},
        OverrideCase{"ShortNameGivenToo", "[winsw]\r\nLABEL=The Archive\r\nSHORTNAME=Arch\r\n", "winsw",
            withChanges("winsw", {{&SiteEndpoints::label, "The Archive"}, {&SiteEndpoints::shortName, "Arch"}})},
        OverrideCase{"OtherSitesKeepBuiltIns", "[lg]\r\nHOST=lg.test\r\n", "essen", withChanges("essen", {})}),
    [](const ::testing::TestParamInfo<OverrideCase>& info) { return std::string(info.param.name); });

// The catalogue asked for again follows its file: rewritten with as many bytes, removed, or another
// base's.
TEST(SiteCatalogue, AskedAgainItFollowsItsFile)
{
    TempBase base;
    TempBase other;
    other.write(QStringLiteral("cat/catalogue.dat"), "[lg]\r\nHOST=other.test\r\n");
    auto lgHost
        = [](const TempBase& b) { return SiteCatalogue::forBase(b.path()).endpoints(QStringLiteral("lg")).host; };
    const QString builtIn = SiteCatalogue::builtIn(QStringLiteral("lg")).host;
    const struct
    {
        const char* file; // nullptr: none
        const char* host;
    } steps[] = {{"[lg]\r\nHOST=aa.test\r\n", "aa.test"}, {"[lg]\r\nHOST=bb.test\r\n", "bb.test"}, {nullptr, nullptr},
        {"[lg]\r\nHOST=aa.test\r\n", "aa.test"}};
    for (const auto& step : steps) {
        if (step.file)
            base.write(QStringLiteral("cat/catalogue.dat"), step.file);
        else
            QFile::remove(base.file(QStringLiteral("cat/catalogue.dat")));
        const QString expected = step.host ? QString::fromLatin1(step.host) : builtIn;
        EXPECT_EQ(lgHost(base), expected);
        EXPECT_EQ(lgHost(other), QStringLiteral("other.test"));
        EXPECT_EQ(lgHost(base), expected);
    }
}

TEST(SiteCatalogue, MissingFileGivesBuiltIns)
{
    TempBase base;
    const SiteEndpoints e = SiteCatalogue::forBase(base.path()).endpoints(QStringLiteral("sshak"));
    EXPECT_EQ(e.host, QLatin1String("sshak.example"));
    EXPECT_EQ(e.scriptUrl(QStringLiteral("/cgi-bin/links.pl")), QLatin1String("http://sshak.example/cgi-bin/links.pl"));
}

} // namespace
