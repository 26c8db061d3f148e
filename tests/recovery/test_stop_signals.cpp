// SIGINT, SIGTERM and SIGHUP arrive as a Qt signal on the event loop; a
// hang-up ignored at start stays ignored; the handlers before come back.

#include "StopSignals.h"
#include "Wait.h"

#include <gtest/gtest.h>

#include <csignal>
#include <vector>

namespace {

struct HandlerGuard {
    explicit HandlerGuard(int signalNumber) : number(signalNumber) { ::sigaction(number, nullptr, &saved); }
    ~HandlerGuard() { ::sigaction(number, &saved, nullptr); }
    int number;
    struct sigaction saved {};
};

void (*handlerOf(int signalNumber))(int)
{
    struct sigaction current {};
    ::sigaction(signalNumber, nullptr, &current);
    return current.sa_handler;
}

} // namespace

TEST(StopSignals, EachSignalArrivesOnTheEventLoop)
{
    const HandlerGuard hangUp(SIGHUP);
    std::signal(SIGHUP, SIG_DFL);
    StopSignals stop;
    ASSERT_TRUE(stop.isActive());
    std::vector<int> received;
    QObject::connect(&stop, &StopSignals::stopRequested, [&](int number) { received.push_back(number); });
    for (int number : {SIGTERM, SIGINT, SIGHUP}) {
        SCOPED_TRACE(number);
        received.clear();
        ASSERT_EQ(::raise(number), 0); // without the handler this ends the test program
        EXPECT_TRUE(received.empty()) << "not from within the handler";
        ASSERT_TRUE(WaitUntil([&] { return !received.empty(); }, 10000));
        EXPECT_EQ(received, std::vector<int>{number});
    }
    StopSignals second;
    EXPECT_FALSE(second.isActive()) << "the handlers are the first one's";
}

TEST(StopSignals, AHangUpIgnoredAtStartStaysIgnoredAndTheHandlersComeBack)
{
    const HandlerGuard hangUp(SIGHUP);
    const HandlerGuard terminate(SIGTERM);
    std::signal(SIGHUP, SIG_IGN); // as under nohup
    std::signal(SIGTERM, SIG_DFL);
    {
        StopSignals stop;
        ASSERT_TRUE(stop.isActive());
        EXPECT_EQ(handlerOf(SIGHUP), SIG_IGN);
        EXPECT_NE(handlerOf(SIGTERM), SIG_DFL);
        int received = 0;
        QObject::connect(&stop, &StopSignals::stopRequested, [&](int) { ++received; });
        ASSERT_EQ(::raise(SIGHUP), 0);
        RunEventsFor(200); // a stretch in which the ignored hangup must not ask to stop
        EXPECT_EQ(received, 0);
    }
    EXPECT_EQ(handlerOf(SIGTERM), SIG_DFL);
    EXPECT_EQ(handlerOf(SIGHUP), SIG_IGN);
}
