#pragma once

#include <QString>

// A text from a UTF-8 literal: s("New").
inline QString s(const char* utf8)
{
    return QString::fromUtf8(utf8);
}
