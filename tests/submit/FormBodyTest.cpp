#include "submit/FormBody.h"
#include "FakeRunWindow.h"

#include <gtest/gtest.h>

using namespace recipe;

namespace {

const Mapping kStatus{"status", {{"Beta", "Prerelease"}, {"Shareware", "SW"}, {"Beta", "Test"}}};

struct BodyCase
{
    const char* name;
    std::vector<FormField> fields;
    QMap<QString, QString> texts;
    QMap<QString, bool> checks;
    int byteSize;
    QString expected;
};

class FormBodyTest : public ::testing::TestWithParam<BodyCase>
{
};

TEST_P(FormBodyTest, BuildsTheBodyByTheRule)
{
    const BodyCase& c = GetParam();
    FakeRunWindow w;
    w.texts = c.texts;
    w.checks = c.checks;
    w.encoding = TextEncoding::Windows1252; // a record read from a file in the old code page
    SiteEndpoints ep;
    ep.mailbox = QStringLiteral("in@site.example");
    ep.mailbox2 = QStringLiteral("two@site.example");
    ep.page = QStringLiteral("http://site.example/done.html");
    const BodyContext context{w, ep, c.byteSize, {}};
    EXPECT_EQ(FormBody(context).build(c.fields), c.expected);
}

QMap<QString, QString> texts(std::initializer_list<std::pair<const char*, const char*>> list)
{
    QMap<QString, QString> m;
    for (const auto& [k, v] : list)
        m[QString::fromUtf8(k)] = QString::fromUtf8(v);
    return m;
}

INSTANTIATE_TEST_SUITE_P(Rule, FormBodyTest,
    ::testing::Values(BodyCase{"LastFieldHasNoAmpersandAndEmptyControlsGiveEmptyValues",
                          {field("a", {control("x")}), field("b", {text("1")}), lastField("c", {control("y")})},
                          texts({{"y", "v"}}), {}, 0, QStringLiteral("a=&b=1&c=v")},
        BodyCase{"NamesAndValuesAreFormEncoded", {lastField("Long Description", {control("longdesc")})},
            texts({{"longdesc", "A & B=C 100%\r\nsecond line + more *-._~/"}}), {}, 0,
            QStringLiteral("Long+Description=A+%26+B%3DC+100%25%0D%0Asecond+line+%2B+more+*-._%7E%2F")},
        BodyCase{"ValuePiecesJoinInOrder", {lastField("who", {control("compname"), text(" - "), control("conname")})},
            texts({{"compname", "Acme"}, {"conname", "Jo"}}), {}, 0, QStringLiteral("who=Acme+-+Jo")},
        BodyCase{"EveryMatchingMappingRowAppendsItsOwnField", {mappedField("S", kStatus), lastField("z", {text("1")})},
            texts({{"status", "Beta"}}), {}, 0, QStringLiteral("S=Prerelease&S=Test&z=1")},
        BodyCase{"MappingIsCaseSensitiveAndUnmatchedAddsNothing",
            {field("a", {text("1")}), mappedField("S", kStatus), lastField("z", {text("2")})},
            texts({{"status", "beta"}}), {}, 0, QStringLiteral("a=1&z=2")},
        BodyCase{"TickedFieldsFollowTheirBoxes",
            {ticked("up", "Revised", {text("ON")}), ticked("new", "First", {text("ON")}),
                lastField("B1", {text("Submit")})},
            {}, {{QStringLiteral("new"), true}}, 0, QStringLiteral("First=ON&B1=Submit")},
        BodyCase{"LiteralsAlreadyHoldKeyAndAmpersand",
            {literal("platform=Win95 Only&"), lastField("n", {control("appname")})}, texts({{"appname", "App"}}), {}, 0,
            QStringLiteral("platform=Win95+Only&n=App")},
        BodyCase{"CatalogueValues", {field("to", {mailbox(), text(", "), mailbox2()}), lastField("back", {page()})}, {},
            {}, 0,
            QStringLiteral("to=in%40site.example%2C+two%40site.example&back=http%3A%2F%2Fsite.example%2Fdone.html")},
        BodyCase{"TextTheRecordsEncodingHoldsGoesInItsBytes",
            {field("a", {control("x")}), lastField("b", {control("y")})}, texts({{"x", "caf\u00e9"}, {"y", "\u20ac5"}}),
            {}, 0, QStringLiteral("a=caf%E9&b=%805")},
        BodyCase{"OneCharacterItCannotHoldMakesTheWholeBodyUtf8",
            {field("a", {control("x")}), lastField("b", {control("y")})}, texts({{"x", "caf\u00e9"}, {"y", "\u03a9"}}),
            {}, 0, QStringLiteral("a=caf%C3%A9&b=%CE%A9")},
        BodyCase{"SizeBelowOneKilobyteIsZero", {lastField("Size", {sizeKB()})}, {}, {}, 1023, QStringLiteral("Size=0")},
        BodyCase{"SizeTruncates", {lastField("Size", {sizeKB()})}, {}, {}, 2048, QStringLiteral("Size=2")},
        BodyCase{"SizeOfALargeFile", {lastField("Size", {sizeKB()})}, {}, {}, 1500000, QStringLiteral("Size=1464")},
        BodyCase{"NegativeSizeTruncatesTowardZero", {lastField("Size", {sizeKB()})}, {}, {}, -1500,
            QStringLiteral("Size=-1")}),
    [](const ::testing::TestParamInfo<BodyCase>& info) { return std::string(info.param.name); });

TEST(FormBody, TimeNowIsTheRunsTimeInTheLongFormat)
{
    FakeRunWindow w;
    const QTime at(14, 5, 9);
    const BodyContext context{w, {}, 0, at};
    EXPECT_EQ(FormBody(context).build({lastField("date", {timeNow()})}),
        QStringLiteral("date=")
            + FormBody::longTime(at)
                  .replace(QLatin1Char(':'), QStringLiteral("%3A"))
                  .replace(QLatin1Char(' '), QLatin1Char('+')));
    EXPECT_TRUE(FormBody::longTime(at).contains(QLatin1String("14")));

    // The long format names no time zone; quoted text stays.
    const std::pair<const char*, const char*> formats[] = {{"HH:mm:ss t", "HH:mm:ss"}, {"h:mm:ss AP t", "h:mm:ss AP"},
        {"t HH:mm:ss", "HH:mm:ss"}, {"HH 'at' mm:ss", "HH 'at' mm:ss"}, {"HH:mm:ss", "HH:mm:ss"}};
    for (const auto& [format, expected] : formats)
        EXPECT_EQ(FormBody::withoutTimeZone(QString::fromUtf8(format)), QString::fromUtf8(expected)) << format;
}

TEST(FormBody, MappedValuePieceIsMissingWhenNoRowMatches)
{
    FakeRunWindow w;
    const BodyContext context{w, {}, 0, {}};
    const FormBody body(context);
    w.texts[QStringLiteral("status")] = QStringLiteral("Shareware");
    EXPECT_EQ(body.value({text("/p/"), mapped(kStatus)}), QStringLiteral("/p/SW"));
    w.texts[QStringLiteral("status")] = QStringLiteral("Other");
    EXPECT_FALSE(body.value({text("/p/"), mapped(kStatus)}).has_value());
}

} // namespace
