#pragma once

#include "net/EComponentError.h"

// The FTP client's own error class.
class EFTP : public EComponentError
{
public:
    using EComponentError::EComponentError;
};
