// A site goes by one label: the one its run shows (current site, log, results, report) is the one
// the Sites page shows after "Update ".
#include "ProgramBase.h"
#include "submit/RunReport.h"
#include "submit/SiteCatalogue.h"
#include "support/Text.h"

#include <gtest/gtest.h>

TEST(SiteLabels, TheRunNamesEverySiteAsTheSitesPageDoes)
{
    TempBase base;
    ProgramRecord record;
    record.name = s("Label Pad");
    for (const auto& [k, v] : std::initializer_list<std::pair<const char*, const char*>>{{"compname", "Pad Works"},
             {"conname", "Bob"}, {"conmail", "bob@pad.example"}, {"char8name", "labelpad"},
             {"filename", "labelpad.zip"}, {"version", "1.0"}, {"day", "4"}, {"month", "12"}, {"year", "05"},
             {"bytesize", "2048"}, {"localpath", QUILLET_SOURCE_DIR "/sample/demo/notestak.zip"},
             {"status", "Shareware"}, {"wattackpd", "Misc.Non Web related Tools"}})
        record.fields[s(k)] = s(v);
    for (const Site& site : SiteCatalogue::sites())
        record.ticked << QString::fromLatin1(site.newBox) << QString::fromLatin1(site.updateBox);
    writeProgram(base, record);
    base.write(s("cat/settings.dat"), mailSettingsFor(1, "author@quillet.example", "Author"));

    const BatchResult preview = runQuillet(base.path(),
        {s("--submit"), record.name, s("--dry-run"), base.file(s("preview")), s("--report"), base.file(s("r.json"))});
    const std::optional<RunRecord> report = RunReport::fromJson(base.read(s("r.json")));
    ASSERT_TRUE(report.has_value()) << preview.err.toStdString();
    const SiteCatalogue catalogue = SiteCatalogue::forBase(base.path());
    int named = 0;
    for (const SiteResult& result : report->sites) {
        if (result.label.isEmpty())
            continue;
        ++named;
        // The one site whose current site adds its owner: "download.example (Example Owner)".
        const QString label = catalogue.label(result.siteKey);
        EXPECT_TRUE(result.label == label || result.label.startsWith(label + s(" (")))
            << result.entry.toStdString() << ": " << result.label.toStdString();
        EXPECT_NE(result.outcome, SiteResult::Outcome::NotReached) << result.entry.toStdString();
    }
    EXPECT_GE(named, 50);
}
