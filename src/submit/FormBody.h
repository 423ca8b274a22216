#pragma once

#include "submit/FormRecipe.h"
#include "submit/SiteCatalogue.h"

#include <QTime>

#include <optional>

class RunWindow;

// What a recipe's values are read from.
struct BodyContext
{
    const RunWindow& window;
    SiteEndpoints endpoints;
    int byteSize = 0; // the byte size as checked at the start of the run
    QTime now; // time of day for TimeNow; the current time when invalid
};

// The one interpreter of recipe tables. Applies the body rule: each field as key "=" value "&"
// in table order, a field marked last without the "&", values exactly as the controls hold them
// (no escaping of any kind).
class FormBody
{
public:
    explicit FormBody(const BodyContext& context);

    // The pieces of a value joined in order; nothing when a Mapped piece matches no row.
    std::optional<QString> value(const std::vector<ValuePart>& parts) const;
    // The whole body of a field list.
    QString build(const std::vector<FormField>& fields) const;

    static QString sizeInKB(int byteSize);
    static QString longTime(const QTime& time);
    // A locale's long time format without its time-zone part.
    static QString withoutTimeZone(const QString& format);

private:
    QString piece(const ValuePart& part, bool* matched) const;

    const BodyContext& m_context;
};
