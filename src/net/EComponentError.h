#pragma once

#include "core/Errors.h"

// An error of a transfer component (HTTP or FTP client): a numeric code and its description,
// raised with the message code + ": " + description ("151: 302 Found").
class EComponentError : public QuilletError
{
public:
    EComponentError(int code, const QString& description)
        : QuilletError(QString::number(code) + QStringLiteral(": ") + description)
        , m_code(code)
        , m_description(description)
    {
    }

    int ErrorCode() const noexcept { return m_code; }
    const QString& ErrorDescription() const noexcept { return m_description; }

private:
    int m_code;
    QString m_description;
};
