#include "platform/loop/Canceller.h"
#include "platform/net/IcmpEcho.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <string>
#include <thread>

namespace {

// Set by in_netns.sh: we run in a network namespace of our own whose
// loopback ignores echo requests.
bool InQuietNamespace()
{
    const char* v = getenv("ZELK_ICMP_IGNORED");
    return v && std::string(v) == "1";
}

} // namespace

TEST(IcmpEcho, ResolutionAndBudgetFailuresComeAtOnce)
{
    std::string error;
    EXPECT_EQ(plat::IcmpEcho("127.0.0.1:80", 5000, nullptr, &error), plat::EchoStatus::Error);
    EXPECT_EQ(error, "host not found");
    EXPECT_EQ(plat::IcmpEcho("127.0.0.1", 0, nullptr, &error), plat::EchoStatus::Error);
    EXPECT_EQ(plat::IcmpEcho("127.0.0.1", -5, nullptr, &error), plat::EchoStatus::Error);
}

TEST(IcmpEcho, LoopbackAnswers)
{
    if (InQuietNamespace())
        GTEST_SKIP() << "this namespace ignores echo requests";
    if (!plat::IcmpAvailable())
        GTEST_SKIP() << "no ICMP socket can be opened here (neither datagram nor raw)";
    std::string error;
    EXPECT_EQ(plat::IcmpEcho("127.0.0.1", 5000, nullptr, &error), plat::EchoStatus::Echo) << error;
}

TEST(IcmpEcho, OwnRequestIsNoReplyAndTheWaitEnds)
{
    if (!InQuietNamespace())
        GTEST_SKIP() << "needs a namespace that ignores echoes (run through in_netns.sh)";
    ASSERT_TRUE(plat::IcmpAvailable());
    // A raw socket sees our own request on loopback; nobody answers it.
    EXPECT_EQ(plat::IcmpEcho("127.0.0.1", 400), plat::EchoStatus::TimedOut);
    // No route at all in a fresh namespace: the send fails at once.
    std::string error;
    EXPECT_EQ(plat::IcmpEcho("192.0.2.1", 5000, nullptr, &error), plat::EchoStatus::Error);
    EXPECT_EQ(error, "send failed");
}

TEST(IcmpEcho, CancelEndsTheWait)
{
    if (!InQuietNamespace())
        GTEST_SKIP() << "needs a namespace that ignores echoes (run through in_netns.sh)";
    plat::Canceller cancel;
    std::thread t([&] { cancel.Cancel(); });
    std::string error;
    EXPECT_EQ(plat::IcmpEcho("127.0.0.1", 600000, &cancel, &error), plat::EchoStatus::Error);
    EXPECT_EQ(error, "cancelled");
    t.join();
}
