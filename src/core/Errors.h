#pragma once

#include <QByteArray>
#include <QString>
#include <exception>

// Base of every error the program raises: a message exactly as the user sees it.
class QuilletError : public std::exception
{
public:
    explicit QuilletError(QString message)
        : m_message(std::move(message))
        , m_utf8(m_message.toUtf8())
    {
    }

    const QString& message() const noexcept { return m_message; }
    const char* what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QByteArray m_utf8;
};

// "Unable to write to %s": a profile file could not be written.
class EWriteError : public QuilletError
{
public:
    explicit EWriteError(const QString& path)
        : QuilletError(QStringLiteral("Unable to write to %1").arg(path))
    {
    }
};

// "Cannot create file %s": a text file could not be created.
class ECreateError : public QuilletError
{
public:
    explicit ECreateError(const QString& path)
        : QuilletError(QStringLiteral("Cannot create file %1").arg(path))
    {
    }
};

// "Cannot open file %s": a file that must exist could not be read.
class EOpenError : public QuilletError
{
public:
    explicit EOpenError(const QString& path)
        : QuilletError(QStringLiteral("Cannot open file %1").arg(path))
    {
    }
};

// "'%s' is not a valid integer value": a text that had to be a whole number.
class EConvertError : public QuilletError
{
public:
    explicit EConvertError(const QString& text)
        : QuilletError(QStringLiteral("'%1' is not a valid integer value").arg(text))
    {
    }
};

// Strict whole-number conversion: optional blanks and sign, decimal digits or "$"/"0x" hex.
// Raises EConvertError with the text as given.
int toInteger(const QString& text);
