#include "submit/RecipeBook.h"

#include "submit/ArchiveSites.h"
#include "submit/FormRecipe.h"
#include "submit/FormSite.h"
#include "submit/MailRecipe.h"
#include "submit/MailSteps.h"
#include "submit/TucowsSite.h"
#include "submit/Win95Site.h"

#include <QHash>
#include <QSet>

namespace {

struct CodeRecipe
{
    Recipe recipe;
    unsigned uses; // the endpoints the function sends to besides those of its entry's form table
};

// Sites whose recipe is code of its own rather than a table: entry id -> function.
const QHash<QString, CodeRecipe>& codeRecipes()
{
    static const QHash<QString, CodeRecipe> recipes{
        {QStringLiteral("tucows"), {&submitTucows, UsesFtpHost}},
        {QStringLiteral("win95"), {&postWin95, 0}},
        {QStringLiteral("simtel"), {ArchiveSites::simtel, UsesFtpHost | UsesMailbox}},
        {QStringLiteral("winsite"), {ArchiveSites::winsite, UsesFtpHost}},
        {QStringLiteral("papa"), {ArchiveSites::papa, UsesFtpHost}},
    };
    return recipes;
}

// The mailboxes a table's values name (a form that tells the site's mailer where to send).
unsigned mailboxesNamed(const std::vector<ValuePart>& parts)
{
    unsigned uses = 0;
    for (const ValuePart& part : parts) {
        if (part.source == ValueSource::Mailbox)
            uses |= UsesMailbox;
        else if (part.source == ValueSource::Mailbox2)
            uses |= UsesMailbox2;
    }
    return uses;
}

unsigned usesOf(const FormRecipe& r)
{
    unsigned uses = UsesWebHost | mailboxesNamed(r.script);
    for (const FormField& f : r.fields)
        uses |= mailboxesNamed(f.value);
    return uses;
}

unsigned usesOf(const MailRecipe& r)
{
    const bool second = r.special == MailSpecial::UpdateToMailbox2 || r.special == MailSpecial::SecondToMailbox2;
    return UsesMailbox | (second ? UsesMailbox2 : 0u);
}

unsigned usesOf(const QString& entryId)
{
    // A code recipe may post its entry's form table too (TuCows after its upload).
    unsigned uses = 0;
    if (const auto it = codeRecipes().constFind(entryId); it != codeRecipes().constEnd())
        uses = it->uses;
    if (const FormRecipe* r = findFormRecipe(entryId))
        return uses | usesOf(*r);
    if (uses)
        return uses;
    for (const MailRecipe* r : allMailRecipes()) {
        if (entryId == QLatin1String(r->entry))
            return usesOf(*r);
    }
    return 0;
}

} // namespace

Recipe RecipeBook::find(const QString& entryId)
{
    if (const auto it = codeRecipes().constFind(entryId); it != codeRecipes().constEnd())
        return it->recipe;
    if (const FormRecipe* r = findFormRecipe(entryId))
        return [r](SiteVisit& visit) { postFormRecipe(*r, visit); };
    for (const MailRecipe* r : allMailRecipes()) {
        if (entryId == QLatin1String(r->entry))
            return [r](SiteVisit& visit) { sendMailRecipe(*r, visit); };
    }
    return {};
}

const std::vector<RecipeBook::Row>& RecipeBook::rows()
{
    static const std::vector<Row> all = [] {
        std::vector<Row> list;
        for (const SiteEntry& entry : SiteCatalogue::entries())
            list.push_back({entry, find(entry.id), usesOf(entry.id)});
        return list;
    }();
    return all;
}

unsigned RecipeBook::endpointUses(const QString& siteKey)
{
    unsigned uses = 0;
    for (const Row& row : rows()) {
        if (row.entry.siteKey == siteKey)
            uses |= row.uses;
    }
    return uses;
}

namespace {

QStringList gatherControlNames()
{
    QStringList names;
    QSet<QString> seen;
    auto add = [&names, &seen](const QString& n) {
        if (!n.isEmpty() && !seen.contains(n)) {
            seen.insert(n);
            names.append(n);
        }
    };
    for (const SiteEntry& e : SiteCatalogue::entries()) {
        add(e.newBox);
        add(e.updateBox);
    }
    for (const FormRecipe* r : allFormRecipes()) {
        for (const QString& n : controlsUsedBy(*r))
            add(n);
    }
    for (const MailRecipe* r : allMailRecipes()) {
        for (const QString& n : controlsUsedBy(*r))
            add(n);
    }
    for (const QString& n : MailSteps::controlNames())
        add(n);
    for (const QString& n : ArchiveSites::controlNames())
        add(n);
    return names;
}

} // namespace

QStringList RecipeBook::controlNames()
{
    // The recipes are built in: the names are gathered once, for the run's window and the sites of
    // one's own alike.
    static const QStringList all = gatherControlNames();
    return all;
}
