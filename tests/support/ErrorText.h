#pragma once

#include "core/Errors.h"

#include <QString>

// The message of the error the action raised, or "" when it succeeded.
template <typename Action>
QString errorText(Action&& action)
{
    try {
        action();
        return QString();
    } catch (const QuilletError& e) {
        return e.message();
    }
}
