#include "submit/FormBody.h"

#include "submit/RunWindow.h"

FormBody::FormBody(const BodyContext& context)
    : ValueReader(context)
{
}

QString FormBody::build(const std::vector<FormField>& fields) const
{
    static const QString amp = QStringLiteral("&");
    static const QString eq = QStringLiteral("=");
    QString body;
    for (const FormField& f : fields) {
        if (f.whenTicked && !m_context.window.isChecked(QString::fromUtf8(f.whenTicked)))
            continue;
        const QString end = f.last ? QString() : amp;
        if (f.literal) {
            body += value(f.value).value_or(QString());
        } else if (f.mapping) {
            // Every matching row appends its own field; no match appends nothing.
            const QString text = shown(*f.mapping);
            for (const MappingRow& row : f.mapping->rows) {
                if (text == QString::fromUtf8(row.text))
                    body += QString::fromUtf8(f.key) + eq + QString::fromUtf8(row.value) + end;
            }
        } else {
            body += QString::fromUtf8(f.key) + eq + value(f.value).value_or(QString()) + end;
        }
    }
    return body;
}
