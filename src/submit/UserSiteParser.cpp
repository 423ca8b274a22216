// Reading one cat/sites/*.site definition: its sections, keys and templates, each checked, the
// first fault refusing the whole definition with its line.
#include "submit/UserSites.h"

#include "core/LineFile.h"

#include <QRegularExpression>
#include <QUrl>

#include <map>
#include <optional>

namespace {

// The first fault of a definition, carried out of the parser.
struct Refusal
{
    int line;
    QString message;
};

[[noreturn]] void refuse(int line, const QString& message)
{
    throw Refusal{line, message};
}

struct Entry
{
    int line;
    QString key; // as written
    QString value;
};

struct Section
{
    int line = 0;
    std::vector<Entry> entries;
};

// The keys each section takes; [fields] and [update.fields] take any field name.
const std::map<QString, QStringList>& sectionKeys()
{
    static const std::map<QString, QStringList> keys{
        {QStringLiteral("site"),
            {QStringLiteral("KEY"), QStringLiteral("LABEL"), QStringLiteral("CHANNEL"), QStringLiteral("URL"),
                QStringLiteral("ENCODING")}},
        {QStringLiteral("fields"), {}},
        {QStringLiteral("mail"), {QStringLiteral("TO"), QStringLiteral("SUBJECT"), QStringLiteral("OPENING")}},
        {QStringLiteral("ftp"), {QStringLiteral("HOST"), QStringLiteral("FOLDER"), QStringLiteral("FILES")}},
        {QStringLiteral("update"),
            {QStringLiteral("URL"), QStringLiteral("SUBJECT"), QStringLiteral("OPENING"), QStringLiteral("FOLDER"),
                QStringLiteral("FILES")}},
        {QStringLiteral("update.fields"), {}},
    };
    return keys;
}

bool takesAnyKey(const QString& section)
{
    return section == QLatin1String("fields") || section == QLatin1String("update.fields");
}

class Parser
{
public:
    Parser(UserSite& site, const QSet<QString>& takenNames)
        : m_site(site)
        , m_taken(takenNames)
    {
    }

    void read(const QByteArray& content)
    {
        if (content.size() > 1024 * 1024)
            refuse(0, QStringLiteral("the file is larger than 1 MB"));
        const QByteArrayList lines = splitLines(content);
        Section* current = nullptr;
        QString currentName;
        for (qsizetype i = 0; i < lines.size(); ++i) {
            const int number = int(i + 1);
            const QString line = QString::fromUtf8(lines[i]).trimmed();
            if (line.isEmpty() || line.startsWith(QLatin1Char(';')) || line.startsWith(QLatin1Char('#')))
                continue;
            if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
                currentName = line.mid(1, line.size() - 2).trimmed().toLower();
                if (!sectionKeys().contains(currentName))
                    refuse(number, QStringLiteral("unknown section %1").arg(line));
                if (m_sections.contains(currentName))
                    refuse(number, QStringLiteral("section %1 appears twice").arg(line));
                current = &m_sections[currentName];
                current->line = number;
                continue;
            }
            if (!current)
                refuse(number, QStringLiteral("a line outside any section"));
            const qsizetype eq = line.indexOf(QLatin1Char('='));
            if (eq <= 0)
                refuse(number, QStringLiteral("expected name=value"));
            Entry entry{number, line.left(eq).trimmed(), line.mid(eq + 1).trimmed()};
            if (!takesAnyKey(currentName)) {
                entry.key = entry.key.toUpper();
                if (!sectionKeys().at(currentName).contains(entry.key))
                    refuse(number, QStringLiteral("unknown key %1 in [%2]").arg(entry.key, currentName));
                if (entry.key != QLatin1String("OPENING") && find(currentName, entry.key))
                    refuse(number, QStringLiteral("%1 given twice in [%2]").arg(entry.key, currentName));
            }
            current->entries.push_back(entry);
        }
        build();
    }

private:
    const Entry* find(const QString& section, const QString& key) const
    {
        const auto it = m_sections.find(section);
        if (it == m_sections.end())
            return nullptr;
        for (const Entry& e : it->second.entries) {
            if (e.key == key)
                return &e;
        }
        return nullptr;
    }
    const Entry& need(const QString& section, const QString& key) const
    {
        if (const Entry* e = find(section, key); e && !e->value.isEmpty())
            return *e;
        const auto it = m_sections.find(section);
        refuse(it == m_sections.end() ? 0 : it->second.line, QStringLiteral("[%1] needs %2").arg(section, key));
    }
    // The entry of [update] when it overrides key, else the entry of the base section.
    const Entry* updated(const QString& section, const QString& key) const
    {
        const Entry* e = find(QStringLiteral("update"), key);
        return e ? e : find(section, key);
    }
    void only(std::initializer_list<const char*> allowed) const
    {
        for (const auto& [name, section] : m_sections) {
            bool ok = false;
            for (const char* a : allowed)
                ok = ok || name == QLatin1String(a);
            if (!ok)
                refuse(section.line, QStringLiteral("section [%1] is not for %2 sites").arg(name, m_channelName));
        }
    }
    void noUpdateKeys(std::initializer_list<const char*> keys) const
    {
        for (const char* k : keys) {
            if (const Entry* e = find(QStringLiteral("update"), QString::fromLatin1(k)))
                refuse(e->line, QStringLiteral("%1 in [update] is not for %2 sites").arg(e->key, m_channelName));
        }
    }

    void build()
    {
        if (!m_sections.contains(QStringLiteral("site")))
            refuse(0, QStringLiteral("no [site] section"));
        const QString site = QStringLiteral("site");
        const Entry& key = need(site, QStringLiteral("KEY"));
        static const QRegularExpression keyPattern(QStringLiteral("^[A-Za-z0-9]{1,32}$"));
        if (!keyPattern.match(key.value).hasMatch())
            refuse(key.line, QStringLiteral("KEY must be 1 to 32 letters and digits"));
        const QString k = key.value;
        for (const QString& name : {k, k + QStringLiteral("new"), k + QStringLiteral("up")}) {
            if (m_taken.contains(name.toLower()))
                refuse(key.line, QStringLiteral("KEY %1 is taken: %2 is already a site or a control").arg(k, name));
        }
        const Entry& label = need(site, QStringLiteral("LABEL"));
        const Entry& channel = need(site, QStringLiteral("CHANNEL"));
        m_channelName = channel.value.toLower();

        m_site.label = label.value;
        m_site.entry = {k, k, k + QStringLiteral("new"), k + QStringLiteral("up"), true};
        m_site.endpoints.label = label.value;
        m_site.endpoints.shortName = label.value;
        if (m_channelName == QLatin1String("form") || m_channelName == QLatin1String("get")) {
            m_site.channel = m_channelName == QLatin1String("form") ? UserSite::Channel::Form : UserSite::Channel::Get;
            only({"site", "fields", "update", "update.fields"});
            noUpdateKeys({"SUBJECT", "OPENING", "FOLDER", "FILES"});
            buildForm();
        } else if (m_channelName == QLatin1String("mail")) {
            m_site.channel = UserSite::Channel::Mail;
            only({"site", "mail", "update"});
            noUpdateKeys({"URL", "FOLDER", "FILES"});
            buildMail();
        } else if (m_channelName == QLatin1String("ftp")) {
            m_site.channel = UserSite::Channel::Ftp;
            only({"site", "ftp", "update"});
            noUpdateKeys({"URL", "SUBJECT", "OPENING"});
            buildFtp();
        } else {
            refuse(channel.line, QStringLiteral("CHANNEL must be form, get, mail or ftp, not %1").arg(channel.value));
        }
        if (m_site.channel == UserSite::Channel::Mail || m_site.channel == UserSite::Channel::Ftp) {
            for (const char* k : {"URL", "ENCODING"}) {
                if (const Entry* e = find(site, QString::fromLatin1(k)))
                    refuse(e->line, QStringLiteral("%1 is not for %2 sites").arg(e->key, m_channelName));
            }
        }
    }

    // "scheme://host[:port]" and the path with its query, from an http or https address.
    std::pair<QString, QString> address(const Entry& e) const
    {
        const QUrl url(e.value, QUrl::StrictMode);
        const QString scheme = url.scheme().toLower();
        if (!url.isValid() || (scheme != QLatin1String("http") && scheme != QLatin1String("https"))
            || url.host().isEmpty() || !url.userInfo().isEmpty() || url.hasFragment())
            refuse(e.line, QStringLiteral("URL must be an http:// or https:// address, not %1").arg(e.value));
        const QString name = url.host(QUrl::FullyEncoded);
        // An IPv6 address keeps its brackets, or its colons would read as the port's.
        QString host = scheme + QStringLiteral("://")
            + (name.contains(QLatin1Char(':')) ? QLatin1Char('[') + name + QLatin1Char(']') : name);
        if (url.port() > 0)
            host += QLatin1Char(':') + QString::number(url.port());
        QString path = url.path(QUrl::FullyEncoded);
        if (path.isEmpty())
            path = QStringLiteral("/");
        if (url.hasQuery())
            path += QLatin1Char('?') + url.query(QUrl::FullyEncoded);
        return {host, path};
    }

    void buildForm()
    {
        const QString site = QStringLiteral("site");
        std::optional<TextEncoding> encoding;
        if (const Entry* e = find(site, QStringLiteral("ENCODING"))) {
            const QString v = e->value.toLower();
            if (v == QLatin1String("utf-8") || v == QLatin1String("utf8"))
                encoding = TextEncoding::Utf8;
            else if (v == QLatin1String("windows-1252") || v == QLatin1String("cp1252"))
                encoding = TextEncoding::Windows1252;
            else
                refuse(e->line, QStringLiteral("ENCODING must be utf-8 or windows-1252, not %1").arg(e->value));
        }
        const bool query = m_site.channel == UserSite::Channel::Get;
        const auto [newHost, newPath] = address(need(site, QStringLiteral("URL")));
        const auto [updateHost, updatePath] = address(*updated(site, QStringLiteral("URL")));
        if (updateHost != newHost)
            refuse(find(QStringLiteral("update"), QStringLiteral("URL"))->line,
                QStringLiteral("the update's URL must name the same scheme, host and port"));
        m_site.endpoints.host = newHost;
        if (!m_sections.contains(QStringLiteral("fields")) || m_sections.at(QStringLiteral("fields")).entries.empty())
            refuse(m_sections.contains(QStringLiteral("fields")) ? m_sections.at(QStringLiteral("fields")).line : 0,
                QStringLiteral("a %1 site needs at least one line in [fields]").arg(m_channelName));
        const Section& fields = m_sections.at(QStringLiteral("fields"));
        const auto it = m_sections.find(QStringLiteral("update.fields"));
        const Section& updateFields = it == m_sections.end() ? fields : it->second;
        for (auto [recipe, path, section] : {std::tuple{&m_site.newForm, newPath, &fields},
                 std::tuple{&m_site.updateForm, updatePath, &updateFields}}) {
            if (query)
                path += path.contains(QLatin1Char('?')) ? QStringLiteral("&") : QStringLiteral("?");
            recipe->entry = m_site.keep(m_site.entry.id);
            recipe->script = {recipe::text(m_site.keep(path))};
            recipe->texts = HttpTexts{.label = m_site.keep(m_site.label)};
            recipe->query = query;
            recipe->encoding = encoding;
            for (const Entry& e : section->entries)
                recipe->fields.push_back(recipe::field(m_site.keep(e.key), parts(e)));
            if (recipe->fields.empty())
                refuse(section->line, QStringLiteral("[update.fields] needs at least one field"));
            recipe->fields.back().last = true;
        }
    }

    void buildMail()
    {
        const QString mail = QStringLiteral("mail");
        const Entry& to = need(mail, QStringLiteral("TO"));
        static const QRegularExpression addressPattern(
            QStringLiteral("^[A-Za-z0-9._%+'-]+@[A-Za-z0-9-]+(\\.[A-Za-z0-9-]+)*$"));
        if (!addressPattern.match(to.value).hasMatch())
            refuse(to.line, QStringLiteral("TO is not a mail address: %1").arg(to.value));
        m_site.endpoints.mailbox = to.value;
        MailRecipe& r = m_site.mail;
        r.entry = m_site.keep(m_site.entry.id);
        r.label = m_site.keep(m_site.label);
        r.name = r.label;
        r.newSubject = parts(need(mail, QStringLiteral("SUBJECT")));
        r.updateSubject = parts(*updated(mail, QStringLiteral("SUBJECT")));
        r.newLines = opening(mail);
        r.updateLines = find(QStringLiteral("update"), QStringLiteral("OPENING")) ? opening(QStringLiteral("update"))
                                                                                  : r.newLines;
    }

    std::vector<MailLine> opening(const QString& section)
    {
        std::vector<MailLine> lines;
        for (const Entry& e : m_sections.at(section).entries) {
            if (e.key == QLatin1String("OPENING"))
                lines.push_back(parts(e));
        }
        return lines;
    }

    void buildFtp()
    {
        const QString ftp = QStringLiteral("ftp");
        const Entry& host = need(ftp, QStringLiteral("HOST"));
        static const QRegularExpression hostPattern(QStringLiteral("^[A-Za-z0-9.-]+(:([0-9]{1,5}))?$"));
        const QRegularExpressionMatch m = hostPattern.match(host.value);
        if (!m.hasMatch() || (m.hasCaptured(2) && (m.captured(2).toInt() < 1 || m.captured(2).toInt() > 65535)))
            refuse(host.line, QStringLiteral("HOST must be host or host:port, not %1").arg(host.value));
        m_site.endpoints.ftpHost = host.value;
        need(ftp, QStringLiteral("FILES"));
        m_site.newFtp = plan(find(ftp, QStringLiteral("FOLDER")), *find(ftp, QStringLiteral("FILES")));
        m_site.updateFtp = plan(updated(ftp, QStringLiteral("FOLDER")), *updated(ftp, QStringLiteral("FILES")));
    }

    UserSite::FtpPlan plan(const Entry* folder, const Entry& files) const
    {
        UserSite::FtpPlan p;
        if (folder) {
            for (const QChar c : folder->value) {
                if (c.category() == QChar::Other_Control)
                    refuse(folder->line, QStringLiteral("FOLDER holds a control character"));
            }
            p.folder = folder->value;
        }
        static const QRegularExpression separators(QStringLiteral("[,\\s]+"));
        for (const QString& name : files.value.split(separators, Qt::SkipEmptyParts)) {
            if (name == QLatin1String("program"))
                p.program = true;
            else if (name == QLatin1String("description"))
                p.description = true;
            else if (name == QLatin1String("archive"))
                p.archive = true;
            else
                refuse(files.line, QStringLiteral("FILES takes program, description and archive, not %1").arg(name));
        }
        if (!p.program && !p.description && !p.archive)
            refuse(files.line, QStringLiteral("FILES names no file"));
        return p;
    }

    // A template: text with {name} standing for a field's text and {name|a=x,b=y,*=z} for its
    // mapped value.
    std::vector<ValuePart> parts(const Entry& e)
    {
        std::vector<ValuePart> out;
        QString literal;
        auto flush = [&] {
            if (!literal.isEmpty())
                out.push_back(recipe::text(m_site.keep(literal)));
            literal.clear();
        };
        const QString& t = e.value;
        for (qsizetype i = 0; i < t.size(); ++i) {
            const QChar c = t.at(i);
            if ((c == QLatin1Char('{') || c == QLatin1Char('}')) && i + 1 < t.size() && t.at(i + 1) == c) {
                literal += c;
                ++i;
                continue;
            }
            if (c != QLatin1Char('{')) {
                literal += c;
                continue;
            }
            const qsizetype end = t.indexOf(QLatin1Char('}'), i);
            if (end < 0)
                refuse(e.line, QStringLiteral("a { without its }"));
            const QString inner = t.mid(i + 1, end - i - 1);
            i = end;
            const qsizetype bar = inner.indexOf(QLatin1Char('|'));
            const QString name = (bar < 0 ? inner : inner.left(bar)).trimmed();
            flush();
            if (name == QLatin1String("sizekb") && bar < 0) {
                out.push_back(recipe::sizeKB());
                continue;
            }
            const QString control = controlOf(name);
            if (control.isEmpty())
                refuse(e.line, QStringLiteral("unknown field {%1}").arg(name));
            if (!m_site.controls.contains(control))
                m_site.controls.append(control);
            if (bar < 0) {
                out.push_back(recipe::control(m_site.keep(control)));
                continue;
            }
            Mapping mapping{m_site.keep(control), {}, true};
            for (const QString& row : inner.mid(bar + 1).split(QLatin1Char(','))) {
                const qsizetype eq = row.indexOf(QLatin1Char('='));
                if (eq < 0)
                    refuse(e.line, QStringLiteral("a mapping row needs text=value: %1").arg(row));
                const QString text = row.left(eq).trimmed();
                const QString value = row.mid(eq + 1).trimmed();
                if (text == QLatin1String("*"))
                    mapping.passUnmatched = false;
                mapping.rows.push_back({text == QLatin1String("*") ? nullptr : m_site.keep(text), m_site.keep(value)});
            }
            out.push_back(recipe::mapped(*m_site.keep(std::move(mapping))));
        }
        flush();
        return out;
    }

    static QString controlOf(const QString& name)
    {
        for (const auto& [n, control] : UserSites::templateNames()) {
            if (n == name)
                return control;
        }
        return {};
    }

    UserSite& m_site;
    const QSet<QString>& m_taken;
    std::map<QString, Section> m_sections;
    QString m_channelName;
};

} // namespace

const char* UserSite::keep(const QString& text)
{
    m_texts.push_back(text.toUtf8());
    return m_texts.back().constData();
}

const Mapping* UserSite::keep(Mapping mapping)
{
    m_mappings.push_back(std::move(mapping));
    return &m_mappings.back();
}

const std::vector<std::pair<QString, QString>>& UserSites::templateNames()
{
    static const std::vector<std::pair<QString, QString>> names = [] {
        std::vector<std::pair<QString, QString>> list;
        // Listing fields go by their control's name.
        for (const char* n :
            {"appname", "version", "filename", "char8name", "day", "month", "year", "platforms", "diststatus",
                "bytesize", "instsize", "price", "status", "eval", "expiredate", "expireafter", "installer", "appurl",
                "dl1", "dl2", "dl3", "dl4", "dl5", "dl6", "screenshot", "localpath", "shortdesc", "longdesc"})
            list.emplace_back(QString::fromLatin1(n), QString::fromLatin1(n));
        list.emplace_back(QStringLiteral("notes"), QStringLiteral("Memo2"));
        const std::pair<const char*, const char*> company[] = {{"name", "compname"}, {"contact", "conname"},
            {"title", "contitle"}, {"email", "conmail"}, {"phone", "conphone"}, {"fax", "confax"},
            {"address", "conaddr"}, {"city", "concity"}, {"state", "constate"}, {"zip", "conzip"},
            {"country", "concountry"}, {"url", "pubpage"}, {"publicemail", "pubmail"}};
        for (const auto& [n, control] : company)
            list.emplace_back(QStringLiteral("company.") + QString::fromLatin1(n), QString::fromLatin1(control));
        return list;
    }();
    return names;
}

QString UserSiteProblem::text() const
{
    return line > 0 ? QStringLiteral("%1:%2: %3").arg(file).arg(line).arg(message)
                    : QStringLiteral("%1: %2").arg(file, message);
}

std::shared_ptr<UserSite> parseUserSite(
    const QString& file, const QByteArray& content, const QSet<QString>& takenNames, UserSiteProblem* problem)
{
    auto site = std::make_shared<UserSite>();
    site->file = file;
    try {
        Parser(*site, takenNames).read(content);
    } catch (const Refusal& r) {
        if (problem)
            *problem = {file, r.line, r.message};
        return nullptr;
    }
    return site;
}
