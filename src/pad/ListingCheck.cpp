#include "pad/ListingCheck.h"

#include "submit/EndpointText.h"
#include "submit/FormRecipe.h"
#include "submit/MailRecipe.h"

#include <QDate>
#include <QRegularExpression>
#include <QSet>
#include <QUrl>

namespace {

using Severity = Finding::Severity;

enum Channel { Http = 1, Ftp = 2, Mail = 4 };

// The sites whose recipe is code of its own, and the channels that code uses.
int codeRecipeChannels(const QString& entryId)
{
    static const QHash<QString, int> channels{{QStringLiteral("tucows"), Http | Ftp}, {QStringLiteral("win95"), Http},
        {QStringLiteral("simtel"), Ftp | Mail}, {QStringLiteral("winsite"), Ftp}, {QStringLiteral("papa"), Ftp}};
    return channels.value(entryId, 0);
}

const MailRecipe* findMailRecipe(const QString& entryId)
{
    for (const MailRecipe* r : allMailRecipes()) {
        if (entryId == QLatin1String(r->entry))
            return r;
    }
    return nullptr;
}

// The fields whose absence the run itself refuses, or that no site can do without.
bool emptyIsError(const QString& control)
{
    static const QStringList controls{QStringLiteral("appname"), QStringLiteral("char8name"),
        QStringLiteral("bytesize"), QStringLiteral("localpath"), QStringLiteral("version")};
    return controls.contains(control);
}

void addMappings(const std::vector<ValuePart>& parts, std::vector<const Mapping*>& out)
{
    for (const ValuePart& part : parts) {
        if (part.source == ValueSource::Mapped && part.mapping)
            out.push_back(part.mapping);
    }
}

class Checker
{
public:
    explicit Checker(const ListingInput& input)
        : m_in(input)
    {
    }

    std::vector<Finding> findings;

    void fields()
    {
        for (const FieldRule& rule : PadRules::fields())
            field(rule);
        releaseDate();
        programFile();
    }

    void sites()
    {
        QStringList mailSites;
        for (const Site& site : SiteCatalogue::sites()) {
            const QString key = QString::fromLatin1(site.key);
            int channels = 0;
            QStringList usedControls;
            std::vector<const Mapping*> mappings;
            bool codeRecipe = false;
            for (const SiteEntry& entry : SiteCatalogue::entries()) {
                if (entry.siteKey != key || !(ticked(entry.newBox) || ticked(entry.updateBox)))
                    continue;
                if (const FormRecipe* form = findFormRecipe(entry.id)) {
                    channels |= Http;
                    usedControls += controlsUsedBy(*form);
                    for (const FormField& f : form->fields) {
                        if (f.mapping)
                            mappings.push_back(f.mapping);
                        addMappings(f.value, mappings);
                    }
                } else if (const MailRecipe* mail = findMailRecipe(entry.id)) {
                    channels |= Mail;
                    usedControls += controlsUsedBy(*mail);
                    addMappings(mail->newSubject, mappings);
                    addMappings(mail->updateSubject, mappings);
                    for (const auto* lines : {&mail->newLines, &mail->updateLines, &mail->afterEmpty}) {
                        for (const MailLine& line : *lines)
                            addMappings(line, mappings);
                    }
                } else if (const int code = codeRecipeChannels(entry.id)) {
                    channels |= code;
                    codeRecipe = true;
                }
            }
            if (channels == 0)
                continue;
            endpoints(key, channels);
            if (channels & Mail)
                mailSites.append(key);
            categories(site, usedControls, codeRecipe);
            siteMappings(key, mappings);
        }
        ownSites(mailSites);
        mailSettings(mailSites);
    }

private:
    QString value(const QString& control) const { return m_in.values.value(control).trimmed(); }
    bool ticked(const QString& box) const { return !box.isEmpty() && m_in.ticked.contains(box); }

    void add(Severity severity, const QString& field, const QString& site, const QString& message)
    {
        findings.push_back({severity, field, site, message});
    }

    void field(const FieldRule& rule)
    {
        const QString control = QString::fromLatin1(rule.control);
        QString v = value(control);
        if (PadRules::isHintText(v)) {
            add(Severity::Warning, control, {}, QStringLiteral("still holds the hint text \"%1\"").arg(v));
            v.clear();
        }
        if (v.isEmpty()) {
            if (rule.required)
                add(emptyIsError(control) ? Severity::Error : Severity::Warning, control, {},
                    QStringLiteral("is empty"));
            return;
        }
        if (rule.limit > 0 && v.size() > rule.limit)
            add(Severity::Error, control, {},
                QStringLiteral("has %1 characters; it takes %2").arg(v.size()).arg(rule.limit));
        if (!PadRules::matches(rule.pattern, v))
            add(rule.pattern == FieldPattern::Version ? Severity::Warning : Severity::Error, control, {},
                QStringLiteral("\"%1\" %2").arg(v, PadRules::patternProblem(rule.pattern)));
        else if (rule.pattern == FieldPattern::EightChar && v != v.toLower())
            add(Severity::Warning, control, {}, QStringLiteral("\"%1\" is not in lower case").arg(v));
    }

    void releaseDate()
    {
        const QString d = value(QStringLiteral("day"));
        const QString m = value(QStringLiteral("month"));
        const QString y = value(QStringLiteral("year"));
        if (!PadRules::matches(FieldPattern::Day, d) || !PadRules::matches(FieldPattern::Month, m)
            || !PadRules::matches(FieldPattern::Year, y) || d.isEmpty() || m.isEmpty() || y.isEmpty())
            return;
        const int year = PadRules::fullYear(y.toInt());
        if (!QDate(year, m.toInt(), d.toInt()).isValid())
            add(Severity::Error, QStringLiteral("day"), {}, QStringLiteral("%1-%2-%3 is no date").arg(d, m).arg(year));
    }

    void programFile()
    {
        const QString path = value(QStringLiteral("localpath"));
        if (path.isEmpty() || !m_in.programFile)
            return;
        const ProgramFile& file = *m_in.programFile;
        if (!file.exists) {
            add(Severity::Error, QStringLiteral("localpath"), {}, QStringLiteral("%1 does not exist").arg(path));
            return;
        }
        if (!file.readable) {
            add(Severity::Error, QStringLiteral("localpath"), {}, QStringLiteral("%1 cannot be read").arg(path));
            return;
        }
        const QString size = value(QStringLiteral("bytesize"));
        if (PadRules::matches(FieldPattern::Integer, size) && !size.isEmpty() && size.toLongLong() != file.size)
            add(Severity::Warning, QStringLiteral("bytesize"), {},
                QStringLiteral("says %1 bytes; %2 has %3").arg(size, path).arg(file.size));
    }

    void endpoints(const QString& key, int channels)
    {
        const SiteEndpoints e = m_in.catalogue ? m_in.catalogue->endpoints(key) : SiteCatalogue::builtIn(key);
        const QString advice = QStringLiteral("; set it in cat/catalogue.dat");
        if ((channels & Http) && EndpointText::isPlaceholder(e.host))
            add(Severity::Warning, {}, key, QStringLiteral("web host is the placeholder %1").arg(e.host) + advice);
        if ((channels & Ftp) && EndpointText::isPlaceholder(e.ftpHost))
            add(Severity::Warning, {}, key, QStringLiteral("FTP host is the placeholder %1").arg(e.ftpHost) + advice);
        if ((channels & Mail) && EndpointText::isPlaceholder(e.mailbox))
            add(Severity::Warning, {}, key, QStringLiteral("mailbox is the placeholder %1").arg(e.mailbox) + advice);
    }

    // A ticked site of one's own needs the mail settings when it mails, and gets every field its
    // templates name: an empty one is worth a warning.
    void ownSites(QStringList& mailSites)
    {
        if (!m_in.userSites)
            return;
        for (const auto& site : m_in.userSites->sites) {
            const SiteEntry& e = site->entry;
            if (!ticked(e.newBox) && !ticked(e.updateBox))
                continue;
            if (site->channel == UserSite::Channel::Mail)
                mailSites.append(e.siteKey);
            for (const QString& control : site->controls) {
                if (m_in.values.contains(control) && value(control).isEmpty())
                    add(Severity::Warning, control, e.siteKey, QStringLiteral("is empty; the site gets it empty"));
            }
        }
    }

    void mailSettings(const QStringList& mailSites)
    {
        if (mailSites.isEmpty())
            return;
        const QString sites = mailSites.join(QStringLiteral(", "));
        if (value(QStringLiteral("smtpedit")).isEmpty())
            add(Severity::Error, QStringLiteral("smtpedit"), {},
                QStringLiteral("no mail server is set; the e-mail sites need one (%1)").arg(sites));
        const QString sender = value(QStringLiteral("emailedit"));
        if (sender.isEmpty())
            add(Severity::Error, QStringLiteral("emailedit"), {},
                QStringLiteral("no sender address is set; the e-mail sites need one (%1)").arg(sites));
        else if (!PadRules::matches(FieldPattern::Email, sender))
            add(Severity::Error, QStringLiteral("emailedit"), {},
                QStringLiteral("\"%1\" %2").arg(sender, PadRules::patternProblem(FieldPattern::Email)));
    }

    void categories(const Site& site, const QStringList& used, bool codeRecipe)
    {
        for (const SiteCategory& c : site.category.controls) {
            const QString control = QString::fromLatin1(c.control);
            if (control.isEmpty() || !(codeRecipe || used.contains(control)))
                continue;
            const QString v = value(control);
            if (site.category.layout == CategoryLayout::Address) {
                if (PadRules::isHintText(v))
                    add(Severity::Warning, control, QString::fromLatin1(site.key),
                        QStringLiteral("still holds the hint text \"%1\"").arg(v));
            } else if (v.isEmpty() || v == QLatin1String(c.start)) {
                add(Severity::Error, control, QString::fromLatin1(site.key), QStringLiteral("no category is picked"));
            }
        }
    }

    void siteMappings(const QString& key, const std::vector<const Mapping*>& mappings)
    {
        QSet<QString> done;
        for (const Mapping* m : mappings) {
            const QString control = QString::fromLatin1(m->control);
            if (done.contains(control))
                continue;
            done.insert(control);
            const QString v = m_in.values.value(control);
            QStringList known;
            bool matched = false;
            for (const MappingRow& row : m->rows) {
                // A row without a text takes every text.
                if (!row.text || !*row.text) {
                    matched = true;
                    continue;
                }
                matched = matched || v == QLatin1String(row.text);
                known.append(QString::fromLatin1(row.text));
            }
            // The site still gets its form, without this value.
            if (!matched)
                add(Severity::Warning, control, key,
                    QStringLiteral("\"%1\" is not a value this site knows (%2); it gets none")
                        .arg(v, known.join(QStringLiteral(", "))));
        }
    }

    const ListingInput& m_in;
};

} // namespace

QString Finding::text() const
{
    QString where = field;
    if (!site.isEmpty())
        where = field.isEmpty() ? site : site + QLatin1Char('/') + field;
    return QStringLiteral("%1: %2: %3")
        .arg(severity == Severity::Error ? QStringLiteral("error") : QStringLiteral("warning"), where, message);
}

namespace ListingCheck {

std::vector<Finding> run(const ListingInput& input)
{
    Checker checker(input);
    checker.fields();
    checker.sites();
    return checker.findings;
}

bool hasErrors(const std::vector<Finding>& findings)
{
    for (const Finding& f : findings) {
        if (f.severity == Finding::Severity::Error)
            return true;
    }
    return false;
}

} // namespace ListingCheck
