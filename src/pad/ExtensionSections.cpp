#include "pad/ExtensionSections.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

namespace {

bool sameName(QByteArrayView a, QByteArrayView b)
{
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), size_t(a.size())) == 0;
}

struct Tag
{
    QByteArrayView name;
    bool end = false; // </name>
    bool empty = false; // <name/>
};

class Scanner
{
public:
    explicit Scanner(const QByteArray& bytes)
        : m_begin(bytes.constData())
        , m_p(m_begin)
        , m_end(m_begin + bytes.size())
    {
    }

    qsizetype offset() const { return m_p - m_begin; }
    bool startsWith(std::string_view text) const
    {
        return qsizetype(text.size()) <= m_end - m_p && std::equal(text.begin(), text.end(), m_p);
    }
    // Moves to the next '<'; false when there is none.
    bool toNextMarkup()
    {
        m_p = static_cast<const char*>(std::memchr(m_p, '<', size_t(m_end - m_p)));
        if (!m_p)
            m_p = m_end;
        return m_p != m_end;
    }
    // Moves past the next `close`; false when it never comes.
    bool skipPast(std::string_view close)
    {
        const char* found = std::search(m_p, m_end, close.begin(), close.end());
        m_p = found == m_end ? m_end : found + close.size();
        return found != m_end;
    }
    // Reads the tag at '<' and moves past its '>'; nothing when it is not one.
    std::optional<Tag> readTag()
    {
        Tag tag;
        ++m_p;
        if (m_p < m_end && *m_p == '/') {
            tag.end = true;
            ++m_p;
        }
        const char* name = m_p;
        while (m_p < m_end && !isNameEnd(*m_p))
            ++m_p;
        if (m_p == name)
            return std::nullopt;
        tag.name = QByteArrayView(name, m_p - name);
        char quote = 0;
        for (; m_p < m_end; ++m_p) {
            const char c = *m_p;
            if (c == '<') {
                return std::nullopt; // no tag or attribute value holds one
            } else if (quote) {
                quote = c == quote ? 0 : quote;
            } else if (c == '"' || c == '\'') {
                quote = c;
            } else if (c == '>') {
                tag.empty = m_p[-1] == '/';
                ++m_p;
                return tag;
            }
        }
        return std::nullopt;
    }

private:
    static bool isNameEnd(char c)
    {
        return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '/' || c == '>' || c == '<' || c == '=';
    }

    const char* m_begin;
    const char* m_p;
    const char* m_end;
};

// The spans of the root's unknown children; nothing when the scan cannot follow the markup.
std::optional<std::vector<std::pair<qsizetype, qsizetype>>> extensionSpans(
    const QByteArray& bytes, const std::function<bool(QByteArrayView)>& isKnownSection)
{
    std::vector<std::pair<qsizetype, qsizetype>> spans;
    std::vector<QByteArrayView> open;
    qsizetype sectionStart = -1; // where the unknown child being scanned starts; -1: none
    bool rootClosed = false;
    Scanner s(bytes);
    while (s.toNextMarkup()) {
        const qsizetype at = s.offset();
        if (s.startsWith("<!--")) {
            if (!s.skipPast("-->"))
                return std::nullopt;
        } else if (s.startsWith("<![CDATA[")) {
            if (open.empty() || !s.skipPast("]]>"))
                return std::nullopt;
        } else if (s.startsWith("<?")) {
            if (!s.skipPast("?>"))
                return std::nullopt;
        } else if (s.startsWith("<!")) {
            return std::nullopt; // a document type declaration may define entities that make markup
        } else {
            const std::optional<Tag> tag = s.readTag();
            if (!tag || rootClosed)
                return std::nullopt;
            if (tag->end) {
                if (open.empty() || !sameName(open.back(), tag->name))
                    return std::nullopt;
                open.pop_back();
                if (open.size() == 1 && sectionStart >= 0) {
                    spans.emplace_back(sectionStart, s.offset());
                    sectionStart = -1;
                }
                rootClosed = open.empty();
            } else if (!tag->empty) {
                if (open.size() == 1 && !isKnownSection(tag->name))
                    sectionStart = at;
                open.push_back(tag->name);
            }
        }
    }
    if (!rootClosed)
        return std::nullopt;
    return spans;
}

} // namespace

QByteArray withoutExtensionSections(const QByteArray& bytes, const std::function<bool(QByteArrayView)>& isKnownSection)
{
    const auto spans = extensionSpans(bytes, isKnownSection);
    if (!spans || spans->empty())
        return bytes;
    QByteArray kept;
    kept.reserve(bytes.size());
    qsizetype from = 0;
    for (const auto& [start, end] : *spans) {
        kept.append(bytes.constData() + from, start - from);
        kept.append(QByteArray(std::count(bytes.begin() + start, bytes.begin() + end, '\n'), '\n'));
        from = end;
    }
    kept.append(bytes.constData() + from, bytes.size() - from);
    return kept;
}
