#include "submit/FormBody.h"

#include "submit/FormEncoding.h"
#include "submit/RunWindow.h"

FormBody::FormBody(const BodyContext& context)
    : ValueReader(context)
{
}

QString FormBody::build(const std::vector<FormField>& fields) const
{
    // The text as it stands decides the encoding, as it does for a stored file.
    const QString plain = assemble(fields, [](const QString& text, bool) { return text; });
    const TextEncoding encoding = encodingFor(m_context.encoding.value_or(m_context.window.recordEncoding()), plain);
    return assemble(fields, [encoding](const QString& text, bool pairs) {
        return pairs ? formEncodedPairs(text, encoding) : formEncoded(text, encoding);
    });
}

QString FormBody::assemble(const std::vector<FormField>& fields, const Encode& encode) const
{
    static const QString amp = QStringLiteral("&");
    static const QString eq = QStringLiteral("=");
    QString body;
    for (const FormField& f : fields) {
        if (f.whenTicked && !m_context.window.isChecked(QString::fromUtf8(f.whenTicked)))
            continue;
        const QString end = f.last ? QString() : amp;
        const QString key = encode(QString::fromUtf8(f.key), false);
        if (f.literal) {
            body += encode(value(f.value).value_or(QString()), true);
        } else if (f.mapping) {
            // Every matching row appends its own field; no match appends nothing.
            const QString text = shown(*f.mapping);
            bool matched = false;
            for (const MappingRow& row : f.mapping->rows) {
                if (row.takes(text, matched)) {
                    body += key + eq + encode(QString::fromUtf8(row.value), false) + end;
                    matched = true;
                }
            }
        } else {
            body += key + eq + encode(value(f.value).value_or(QString()), false) + end;
        }
    }
    return body;
}
