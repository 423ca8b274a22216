// The look-up that runs beside the event loop: its answers, and an aborted one that never answers.
#include "net/HostLookup.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QObject>

#include <arpa/inet.h>
#include <gtest/gtest.h>

namespace {

struct Answer
{
    bool came = false;
    int code = -1;
    quint32 address = 0;
};

void waitFor(const Answer& answer, int ms = 10000)
{
    QDeadlineTimer deadline(ms);
    while (!answer.came && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

TEST(HostLookup, AnswersOnTheReceiversThreadAsTheResolverDoes)
{
    const struct
    {
        const char* host;
        int code;
        const char* address;
    } cases[] = {
        {"127.0.0.1", 0, "127.0.0.1"},
        {"localhost", 0, "127.0.0.1"},
        {"no-such-host.invalid", 11001, nullptr},
        {"", 11001, nullptr},
    };
    QObject receiver;
    for (const auto& c : cases) {
        Answer answer;
        HostLookup::start(QString::fromLatin1(c.host), &receiver, [&answer](int code, quint32 address) {
            answer = {true, code, address};
        });
        EXPECT_FALSE(answer.came) << "the answer never comes inside start()";
        waitFor(answer);
        ASSERT_TRUE(answer.came) << c.host;
        EXPECT_EQ(answer.code, c.code) << c.host;
        if (c.address) {
            in_addr expected{};
            inet_pton(AF_INET, c.address, &expected);
            EXPECT_EQ(answer.address, expected.s_addr) << c.host;
        }
    }
}

// Skip, Cancel and a time-out abort a look-up; its receiver may go right after.
TEST(HostLookup, AnAbortedLookUpNeverAnswers)
{
    Answer answer;
    auto receiver = std::make_unique<QObject>();
    const int id = HostLookup::start(
        QStringLiteral("localhost"), receiver.get(), [&answer](int, quint32) { answer.came = true; });
    HostLookup::abort(id);
    receiver.reset();
    Answer other;
    QObject second;
    HostLookup::start(QStringLiteral("127.0.0.1"), &second, [&other](int, quint32) { other.came = true; });
    waitFor(other);
    QCoreApplication::processEvents();
    EXPECT_TRUE(other.came);
    EXPECT_FALSE(answer.came);
}

} // namespace
