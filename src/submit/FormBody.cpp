#include "submit/FormBody.h"

#include "submit/FormEncoding.h"
#include "submit/RunWindow.h"

FormBody::FormBody(const BodyContext& context)
    : ValueReader(context)
{
}

namespace {

// key=value followed by end, as pieces of the body: joined once at the end, a long value is
// copied once, into a body of the right size.
void appendField(QStringList& body, const QString& key, const QString& value, const QString& end)
{
    static const QString equals = QStringLiteral("=");
    body << key << equals << value << end;
}

} // namespace

QString FormBody::build(const std::vector<FormField>& fields) const
{
    // The text as it stands decides the encoding, as it does for a stored file: a piece the
    // record's encoding cannot hold makes the whole body UTF-8. The pieces are checked where they
    // stand, without joining a copy of the body.
    const TextEncoding current = m_context.encoding.value_or(m_context.window.recordEncoding());
    bool held = true;
    if (current != TextEncoding::Utf8) { // UTF-8 holds every piece
        assemble(fields, [&](const QString& text, bool) {
            held = held && canHold(current, text);
            return QString();
        });
    }
    const TextEncoding encoding = held ? current : TextEncoding::Utf8;
    return assemble(fields, [encoding](const QString& text, bool pairs) {
        return pairs ? formEncodedPairs(text, encoding) : formEncoded(text, encoding);
    });
}

QString FormBody::assemble(const std::vector<FormField>& fields, const Encode& encode) const
{
    static const QString amp = QStringLiteral("&");
    QStringList body;
    for (const FormField& f : fields) {
        if (f.whenTicked && !m_context.window.isChecked(QString::fromUtf8(f.whenTicked)))
            continue;
        const QString end = f.last ? QString() : amp;
        const QString key = encode(QString::fromUtf8(f.key), false);
        if (f.literal) {
            body << encode(value(f.value).value_or(QString()), true);
        } else if (f.mapping) {
            // Every matching row appends its own field; no match appends nothing.
            const QString text = shown(*f.mapping);
            bool matched = false;
            for (const MappingRow& row : f.mapping->rows) {
                if (row.takes(text, matched)) {
                    appendField(body, key, encode(QString::fromUtf8(row.value), false), end);
                    matched = true;
                }
            }
        } else {
            appendField(body, key, encode(value(f.value).value_or(QString()), false), end);
        }
    }
    return body.join(QString());
}
