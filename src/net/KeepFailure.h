#pragma once

#include <exception>

// Runs f and keeps the first error it raises in failure, so that state can be restored before
// the error travels on.
template <typename F>
void keepFailure(std::exception_ptr& failure, F&& f)
{
    try {
        f();
    } catch (...) {
        if (!failure)
            failure = std::current_exception();
    }
}
