// A post the server sent on elsewhere went through: told by the status, whatever the wording.
#include "submit/HttpPost.h"

#include <gtest/gtest.h>

namespace {

TEST(HttpPost, ARedirectIsToldByItsStatus)
{
    using K = NetResult::Kind;
    const std::pair<NetResult, bool> cases[] = {
        {{K::Http, 151, QStringLiteral("302 Found"), 302}, true},
        {{K::Http, 151, QStringLiteral("302 Moved Temporarily"), 302}, true},
        {{K::Http, 151, QStringLiteral("302 Document Found"), 302}, true},
        {{K::Http, 151, QStringLiteral("404 Not Found"), 404}, false},
        {{K::Http, 151, QStringLiteral("The server closed the connection without an answer."), 0}, false},
        // The file error that shares the number is no answer at all.
        {{K::File, 302, QStringLiteral("Can't open file for reading."), 0}, false},
        {{K::Ok, 0, QString(), 200}, false},
    };
    for (const auto& [result, redirect] : cases)
        EXPECT_EQ(HttpPost::isRedirect(result), redirect) << result.message().toStdString();
}

} // namespace
