#pragma once

#include "net/EComponentError.h"

// The HTTP client's own error class.
class EHTTP : public EComponentError
{
public:
    using EComponentError::EComponentError;
};
