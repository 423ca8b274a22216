// What the reports folder remembers of a program's runs: whose runs they are, in which order, and
// what each site last got.
#include "submit/RunHistory.h"
#include "submit/RunReport.h"
#include "support/TempBase.h"
#include "support/Text.h"

#include <QJsonDocument>

#include <gtest/gtest.h>

namespace {

using O = SiteResult::Outcome;

RunRecord run(const QString& program, const QString& version, const QString& start,
    std::initializer_list<std::pair<const char*, O>> sites, bool preview = false)
{
    RunRecord record;
    record.program = program;
    record.version = version;
    record.start = QDateTime::fromString(start, Qt::ISODate);
    record.end = record.start.addSecs(60);
    record.walked = true;
    record.preview = preview;
    for (const auto& [key, outcome] : sites) {
        SiteResult site;
        site.siteKey = s(key);
        site.entry = site.siteKey;
        site.outcome = outcome;
        record.sites.push_back(site);
    }
    return record;
}

void keep(const TempBase& base, const RunRecord& record)
{
    RunReport::write(RunReport::takeDefaultPath(base.path(), record), record);
}

TEST(RunHistory, RunsOfOneProgramNewestFirstAndWhatEachSiteLastGot)
{
    TempBase base;
    keep(base, run(s("Demo"), s("1.0"), s("2026-01-05T10:00:00"), {{"simtel", O::Sent}, {"tucows", O::Sent}}));
    keep(base, run(s("Demo"), s("1.1"), s("2026-03-01T09:00:00"), {{"simtel", O::Failed}}));
    // A preview sent nothing: it is a run of the history, but no site received it.
    keep(base, run(s("Demo"), s("1.2"), s("2026-04-01T09:00:00"), {{"simtel", O::Sent}}, true));
    // A site with a new listing and an update in one run shows the one that did not go.
    keep(base, run(s("Demo"), s("1.1"), s("2026-02-01T09:00:00"), {{"tucows", O::Sent}, {"tucows", O::Skipped}}));
    // Another program whose name starts with this one's, and files that are not reports.
    keep(base, run(s("Demo Pro"), s("9"), s("2026-05-01T09:00:00"), {{"simtel", O::Sent}}));
    base.write(s("reports/Demo 2026-06-01 00-00-00.json"), "{ not json");
    base.write(s("reports/Demo notes.txt"), "x");

    const auto runs = RunHistory::runsOf(base.path(), s("Demo"));
    QStringList versions;
    for (const auto& past : runs)
        versions.append(past.record.version);
    EXPECT_EQ(versions, (QStringList{s("1.2"), s("1.1"), s("1.1"), s("1.0")}));
    EXPECT_TRUE(runs.front().record.preview) << "the preview flag comes back from the report";

    const auto receipts = RunHistory::lastReceipts(runs);
    ASSERT_EQ(receipts.size(), 2);
    EXPECT_EQ(receipts[s("simtel")].version, s("1.1"));
    EXPECT_EQ(receipts[s("simtel")].outcome, O::Failed);
    EXPECT_EQ(receipts[s("tucows")].outcome, O::Skipped);
    EXPECT_EQ(receipts[s("tucows")].when.date(), QDate(2026, 2, 1));

    ASSERT_TRUE(RunHistory::newest(base.path()));
    EXPECT_EQ(RunHistory::newest(base.path())->record.program, s("Demo Pro"));
    EXPECT_TRUE(RunHistory::runsOf(base.path(), s("Nobody")).empty());
    EXPECT_FALSE(RunHistory::newest(base.path() + s("/nothing-here")));
}

} // namespace

// A report is the document QJsonDocument would write for it, byte for byte, and reads back as the
// record it was written from: odd texts, empty lists, a preview and seconds of every size.
TEST(RunReport, WrittenAsQtWritesItAndReadBack)
{
    const QString lone = QString(QChar(0xd800)) + QStringLiteral("x") + QString(QChar(0xdc00));
    const QString odd = QStringLiteral("\"quoted\" \\ back\tslash\r\n\b\f\x01\x1f\x7f caf\u00e9 \u2028 ")
        + QString::fromUcs4(U"\U0001F600");
    for (const bool preview : {false, true}) {
        RunRecord record
            = run(odd, lone, s("2026-12-07T11:58:02"), {{"tucows", O::Sent}, {"simtel", O::Failed}}, preview);
        record.sites[0].boxes = {s("tucowsnewcb"), odd};
        record.sites[0].logLines = {odd, lone, QString()};
        record.sites[0].seconds = 0.1234;
        record.sites[1].detail = odd;
        record.sites[1].step = lone;
        record.sites[1].channels = {s("mail")};
        record.sites[1].seconds = 1e12;
        if (preview)
            record.sites[1].previewItems = {s("simtel/notestak.txt")};
        const QByteArray json = RunReport::toJson(record);
        QJsonParseError error;
        const QJsonDocument parsed = QJsonDocument::fromJson(json, &error);
        ASSERT_EQ(error.error, QJsonParseError::NoError) << json.toStdString();
        EXPECT_EQ(parsed.toJson(QJsonDocument::Indented), json);

        const std::optional<RunRecord> back = RunReport::fromJson(json);
        ASSERT_TRUE(back);
        EXPECT_EQ(back->program, odd);
        EXPECT_EQ(back->version, lone);
        EXPECT_EQ(back->preview, preview);
        EXPECT_EQ(back->sites[0].boxes, record.sites[0].boxes);
        EXPECT_EQ(back->sites[0].logLines, record.sites[0].logLines);
        EXPECT_EQ(back->sites[0].seconds, 0.123);
        EXPECT_EQ(back->sites[1].detail, odd);
        EXPECT_EQ(back->sites[1].step, lone);
        EXPECT_EQ(back->sites[1].seconds, 1e12);
        EXPECT_EQ(back->sites[1].previewItems, record.sites[1].previewItems);
    }
}
