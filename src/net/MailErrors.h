#pragma once

#include "core/Errors.h"

// The mail stack's errors: typed, each with its message as the user sees it. The texts come from
// the message table (net/MailMessages.h).
class EMailError : public QuilletError
{
public:
    using QuilletError::QuilletError;
};

// An unexpected SMTP reply; the message is the server's last reply line.
class EServerError : public EMailError
{
public:
    using EMailError::EMailError;
};

// A wait ran out of time: "Operation timed out".
class ETimedOutError : public EMailError
{
public:
    using EMailError::EMailError;
};

// The session was cancelled: "Operation has been canceled".
class ECanceledError : public EMailError
{
public:
    using EMailError::EMailError;
};

// A sockets error: the table's text for the code, or "Error #" + code.
class ESocketError : public EMailError
{
public:
    ESocketError(int code, const QString& text)
        : EMailError(text)
        , m_code(code)
    {
    }
    int code() const noexcept { return m_code; }

private:
    int m_code;
};

// The sockets library could not be used.
class EWinsockDLLError : public EMailError
{
public:
    using EMailError::EMailError;
};

// A message or session property is missing or invalid (57002, 57100 ...); carries its message id.
class EMessageError : public EMailError
{
public:
    EMessageError(int id, const QString& text)
        : EMailError(text)
        , m_id(id)
    {
    }
    int id() const noexcept { return m_id; }

private:
    int m_id;
};
