#include "submit/MailRecipe.h"

#include "submit/FormBody.h"
#include "submit/MailChannel.h"
#include "submit/MailSteps.h"
#include "submit/RecipeBook.h"
#include "submit/RunWindow.h"

namespace {

using namespace recipe;

MailLine line(const char* t)
{
    return {text(t)};
}

const std::vector<ValuePart> Submit{text("Submit")};
const std::vector<ValuePart> SubmitName{text("Submit "), control("appname")};
const std::vector<ValuePart> SoftwareSubmission{text("Software Submission")};
const MailLine U1 = line("Please update the following listing:");
const MailLine U2 = line("Please review our update:");
const MailLine U3 = line("Please add our update:");

// A site whose body is its first line, an empty line and the listing.
MailRecipe plain(const char* entry, const char* label, std::vector<ValuePart> newSubject,
    std::vector<ValuePart> updateSubject, const char* first, MailLine update)
{
    return {entry, label, label, std::move(newSubject), std::move(updateSubject), {line(first)}, {std::move(update)}};
}

// First line, an empty line, "Category:" and the pick list's text, an empty line.
std::vector<MailLine> withCategory(const char* first, const char* pickList)
{
    return {line(first), {}, {text("Category:"), control(pickList)}, {}};
}
std::vector<MailLine> withCategory(const MailLine& first, const char* pickList)
{
    return {first, {}, {text("Category:"), control(pickList)}, {}};
}

const char* const Blank17 = "                 ";

std::vector<MailRecipe> makeSites()
{
    std::vector<MailRecipe> sites{
        plain("pow95", "Pell Orvane's Win95 Page", Submit, Submit,
            "Please add the following listing to Pell Orvane's Win95 Page", U1),
        plain("dlnet", "{label}", Submit, Submit, "Please add the following listing to {label}", U1),
        plain("capfish", "Captain Fishy's Internet Software Pages", Submit, Submit,
            "Please add the following listing to Captain Fishy's Internet Software Pages", U1),
        plain("digisafari", "DigiSafari", Submit, Submit, "Please add the following listing to DigiSafari", U1),
        plain("fwfav", "Freeware Favorites", Submit, Submit, "Please add the following listing to Freeware Favorites",
            U1),
        plain("f32com", "{label}", Submit, Submit, "Please add the following listing to {label}", U1),
        plain("galt", "Galt Shareware Zone", Submit, Submit, "Please review for Galt Shareware Zone", U1),
        plain("gws", "Great Windows Software", Submit, Submit,
            "Please add the following software to Great Windows Software", U1),
        plain("jayde", "Jayde Hot Shareware", Submit, Submit,
            "Please review and add the following software to Jayde Hot Shareware", U1),
        {"pts", "Pass The Shareware", "Pass The Shareware", SubmitName, SubmitName,
            {line("Please review and add the following software to Pass The Shareware"),
                {text("Category: "), control("ptspd")}},
            {U1, {text("Category: "), control("ptspd")}}},
        [] {
            MailRecipe r = plain("rocket", "{label}", SubmitName, SubmitName,
                "Please review and add the following software to {label}", U1);
            r.special = MailSpecial::UpdateToMailbox2;
            return r;
        }(),
        plain(
            "sharepaper", "Sharepaper", SubmitName, SubmitName, "Please add the following software to Sharepaper", U1),
        plain("swr", "Shareware Resources", SubmitName, SubmitName,
            "Please add the following software to Shareware Resources", U1),
        plain("swshop", "The Shareware Shop", SubmitName, SubmitName,
            "Please add the following software to The Shareware Shop", U1),
        [] {
            MailRecipe r = plain("c2c", "Coast to Coast", SubmitName, SubmitName,
                "I would like to upload the following program to Coast to coast:",
                line("I would like to update the following listing:"));
            r.emptyLine = false;
            r.logLine = "Coast to Coast request to Upload: E-Mailed - you will get a response with instructions.";
            return r;
        }(),
        [] {
            MailRecipe r = plain("gratis", "{label}", SubmitName, SubmitName,
                "Por favor revise e adicione o seguinte programa:", line("Por favor atualize o seguinte programa:"));
            r.afterEmpty = {{}, line("P.S. Corvel Says: HI Brannoc!!!!!")};
            return r;
        }(),
        plain("swsp", "Shareware Stockpile", SubmitName, SubmitName,
            "Please add the following software to Shareware Stockpile", U1),
        plain("ss", "SoftSeek", SubmitName, SubmitName, "Please add the following software to SoftSeek", U1),
        plain("swro", "Software Web Review Online", SubmitName, SubmitName,
            "Please review the following software for Software Web Review Online", U2),
        plain("fenworld", "{label}", SubmitName, SubmitName, "Please review the following software for {label}", U2),
        plain("wpipe", "Web Pipe", SubmitName, SubmitName, "Please add the following software to Web Pipe", U3),
        [] {
            MailRecipe r = plain(
                "wugnet", "WUGNET", SubmitName, SubmitName, "Please review the following software for WUGNET", U2);
            r.afterEmpty = {
                {text("Company address: "), control("conaddr")},
                {text(Blank17), control("concity"), text(", "), control("constate"), text(" "), control("conzip")},
                {text(Blank17), control("concountry")},
                {text("Phone Number:    "), control("conphone")},
                {},
            };
            return r;
        }(),
        plain("tudogs", "Tudogs", SubmitName, SubmitName, "Please add the following software to Tudogs", U3),
        plain("pcwin", "PC Win Resource Center", SubmitName, SoftwareSubmission,
            "Please review the following software for PC Win Resource Center", U2),
        plain("win95emp", "Windows 95 Emporium", SubmitName, SoftwareSubmission,
            "Please review the following software for Windows 95 Emporium", U2),
        plain("swarecent", "Software Center", SubmitName, SoftwareSubmission,
            "Please review the following software for Software Center", U2),
        {"snet", "{label}", "{label}", SubmitName, SoftwareSubmission,
            withCategory("Please review the following software for {label}", "snetpd"), withCategory(U2, "snetpd"),
            true, {}, "{name}: E-Mailed", MailSpecial::SecondToMailbox2},
        {"winsw", "{label}", "{short}", SubmitName, SoftwareSubmission,
            withCategory("Please review the following software for {short}", "winswpd"), withCategory(U2, "winswpd")},
        {"wattack", "The Web Attack", "Web Attack", {text("New Submission")}, {text("Update")},
            withCategory("Please Add the following software to Web Attack", "wattackpd"), withCategory(U3, "wattackpd"),
            true, {}, "{name}: E-Mailed", MailSpecial::CategoryRefusal, "wattackpd", "Misc.Non Web related Tools",
            "Web Attack only allows web-releated apps.  Not Sent."},
    };
    return sites;
}

class MailSite
{
public:
    MailSite(const MailRecipe& recipe, SiteVisit& visit)
        : m_recipe(recipe)
        , m_visit(visit)
        , m_context{visit.window, visit.endpoints, visit.byteSize, {}}
        , m_body(m_context)
    {
    }

    QString expand(const QString& text) const
    {
        QString out = text;
        out.replace(QStringLiteral("{name}"), siteName());
        return m_visit.endpoints.expand(out);
    }
    QString expand(const char* text) const { return expand(QString::fromUtf8(text)); }
    QString siteName() const { return m_visit.endpoints.expand(QString::fromUtf8(m_recipe.name)); }
    QString value(const std::vector<ValuePart>& parts) const { return expand(m_body.value(parts).value_or(QString())); }
    QStringList lines(const std::vector<MailLine>& lines) const
    {
        QStringList out;
        for (const MailLine& l : lines)
            out << value(l);
        return out;
    }

    void run()
    {
        RunWindow& w = m_visit.window;
        MailChannel& mail = m_visit.channels.mail;
        const SiteEntry& e = m_visit.entry;
        MailSteps::open(w, expand(m_recipe.label), QStringLiteral("Preparing to mail to ") + siteName());
        QString recipient = m_visit.endpoints.mailbox;
        if (!e.newBox.isEmpty() && w.isChecked(e.newBox)) {
            if (!e.updateBox.isEmpty())
                w.setChecked(e.updateBox, false);
            MailSteps::compose(mail, value(m_recipe.newSubject), lines(m_recipe.newLines));
        }
        if (!e.updateBox.isEmpty() && w.isChecked(e.updateBox)) {
            MailSteps::compose(mail, value(m_recipe.updateSubject), lines(m_recipe.updateLines));
            if (m_recipe.special == MailSpecial::UpdateToMailbox2)
                recipient = m_visit.endpoints.mailbox2;
        }
        if (mail.server().isEmpty())
            mail.showSetup();
        if (m_recipe.emptyLine)
            mail.addBodyLine(QString());
        for (const QString& l : lines(m_recipe.afterEmpty))
            mail.addBodyLine(l);
        mail.setRecipient(recipient);
        if (m_recipe.special == MailSpecial::CategoryRefusal
            && w.text(QString::fromLatin1(m_recipe.refusalControl)) == QLatin1String(m_recipe.refusalCategory)) {
            MailSteps::finish(w, expand(m_recipe.refusalLog));
            return;
        }
        MailSteps::sendmail(w, mail);
        if (m_recipe.special == MailSpecial::SecondToMailbox2) {
            w.processMessages();
            mail.setRecipient(m_visit.endpoints.mailbox2);
            MailSteps::sendmail(w, mail);
        }
        MailSteps::finish(w, expand(m_recipe.logLine));
    }

private:
    const MailRecipe& m_recipe;
    SiteVisit& m_visit;
    BodyContext m_context;
    FormBody m_body;
};

} // namespace

const std::vector<MailRecipe>& secondGroupMailSites()
{
    static const std::vector<MailRecipe> sites = makeSites();
    return sites;
}

std::vector<const MailRecipe*> allMailRecipes()
{
    std::vector<const MailRecipe*> all;
    for (const auto* group : {&directoryMailSites(), &secondGroupMailSites()}) {
        for (const MailRecipe& r : *group)
            all.push_back(&r);
    }
    return all;
}

void sendMailRecipe(const MailRecipe& recipe, SiteVisit& visit)
{
    MailSite(recipe, visit).run();
}

QStringList controlsUsedBy(const MailRecipe& recipe)
{
    QStringList names;
    auto addParts = [&names](const std::vector<ValuePart>& parts) {
        for (const ValuePart& p : parts) {
            if (p.source == ValueSource::Control && !names.contains(QString::fromLatin1(p.arg)))
                names << QString::fromLatin1(p.arg);
        }
    };
    addParts(recipe.newSubject);
    addParts(recipe.updateSubject);
    for (const auto* group : {&recipe.newLines, &recipe.updateLines, &recipe.afterEmpty})
        for (const MailLine& l : *group)
            addParts(l);
    return names;
}
