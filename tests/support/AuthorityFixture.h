#pragma once

#include "support/TestAuthority.h"

#include <gtest/gtest.h>

// A test suite whose tests share one TestAuthority (making one runs openssl several times).
template <typename Base = ::testing::Test>
class WithTestAuthority : public Base
{
protected:
    static void SetUpTestSuite() { s_authority = new TestAuthority; }
    static void TearDownTestSuite()
    {
        delete s_authority;
        s_authority = nullptr;
    }

    static inline TestAuthority* s_authority = nullptr;
};
