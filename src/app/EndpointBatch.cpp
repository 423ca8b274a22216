#include "app/EndpointBatch.h"

#include "app/RunController.h"
#include "app/SitesPage.h"
#include "app/TForm1.h"
#include "batch/BatchPrint.h"
#include "batch/CommandLine.h"
#include "batch/ListedProgram.h"
#include "core/Dialogs.h"
#include "core/Errors.h"
#include "core/ProfileFile.h"
#include "net/EndpointCheck.h"
#include "submit/CheckTargets.h"
#include "submit/RecipeBook.h"
#include "submit/UserSites.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>

#include <algorithm>
#include <cstdio>

namespace {

// The catalogue entries the program's record ticks, or nothing (said) when it is not listed.
std::optional<QStringList> tickedEntries(const QString& program)
{
    Dialogs* previous = setDialogs(nullptr);
    std::optional<QStringList> entries;
    {
        TForm1 form;
        if (const QString unlisted = unlistedProgramMessage(form.basedir(), program); !unlisted.isEmpty()) {
            printLine(stderr, unlisted);
        } else {
            guarded([&] {
                form.appnameEnter();
                form.appname()->setEditText(program);
                form.appnameChange();
            });
            entries.emplace();
            std::vector<const SiteEntry*> walk;
            for (const RecipeBook::Row& row : RecipeBook::rows())
                walk.push_back(&row.entry);
            // The window read the sites of one's own when it made their rows.
            for (const auto& site : form.sitespage()->userSites().sites)
                walk.push_back(&site->entry);
            for (const SiteEntry* entry : walk) {
                for (const QString& box : {entry->newBox, entry->updateBox}) {
                    const auto* tick = box.isEmpty() ? nullptr : form.findChild<QCheckBox*>(box);
                    if (tick && tick->isChecked()) {
                        entries->append(entry->id);
                        break;
                    }
                }
            }
        }
    }
    setDialogs(previous);
    return entries;
}

} // namespace

int EndpointBatch::check(const CommandLine& line)
{
    const QString base = QDir::currentPath();
    std::vector<ProbeTarget> targets;
    if (line.program.isEmpty()) {
        targets = CheckTargets::all(base);
    } else {
        const std::optional<QStringList> entries = tickedEntries(line.program);
        if (!entries)
            return 2;
        targets = CheckTargets::forEntries(base, *entries);
    }
    if (targets.empty()) {
        printLine(stderr,
            line.program.isEmpty() ? QStringLiteral("No endpoint is configured: cat/catalogue.dat gives no host and "
                                                    "no mail server is set.")
                                   : QStringLiteral("%1 ticks no site.").arg(line.program));
        return 0;
    }
    int seconds = line.timeout;
    if (seconds < 0) {
        bool ok = false;
        seconds = ProfileFile::read(
            base + QStringLiteral("/cat/settings.dat"), QStringLiteral("SETTINGS"), QStringLiteral("TIMEOUT"))
                      .toInt(&ok);
        if (!ok)
            seconds = RunController::DefaultStallSeconds;
    }
    EndpointCheck check(targets, seconds);
    check.runToEnd();
    qsizetype labelWidth = 4, endpointWidth = 8;
    for (const ProbeTarget& t : targets) {
        labelWidth = std::max(labelWidth, t.label.size());
        endpointWidth = std::max(endpointWidth, t.endpoint.size());
    }
    auto row = [&](const QString& label, const QString& endpoint, const QString& result) {
        printLine(stdout,
            label.leftJustified(labelWidth) + QStringLiteral("  ") + endpoint.leftJustified(endpointWidth)
                + QStringLiteral("  ") + result);
    };
    row(QStringLiteral("Site"), QStringLiteral("Endpoint"), QStringLiteral("Result"));
    int unreachable = 0;
    for (std::size_t i = 0; i < targets.size(); ++i) {
        row(targets[i].label, targets[i].endpoint, check.results()[i].text());
        unreachable += check.results()[i].reachable ? 0 : 1;
    }
    printLine(
        stderr, QStringLiteral("%1 of %2 endpoints reachable").arg(targets.size() - unreachable).arg(targets.size()));
    return unreachable == 0 ? 0 : 3;
}
