#include "platform/loop/Canceller.h"
#include "platform/net/IcmpEcho.h"
#include "platform/net/IcmpEchoReply.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <string>
#include <thread>
#include <vector>

namespace {

// Set by in_netns.sh: we run in a network namespace of our own whose
// loopback ignores echo requests.
bool InQuietNamespace()
{
    const char* v = getenv("ZELK_ICMP_IGNORED");
    return v && std::string(v) == "1";
}

using Bytes = std::vector<uint8_t>;

const uint32_t kTarget = 0x0100007F; // 127.0.0.1 in network byte order
const uint32_t kElsewhere = 0x090200C0; // 192.0.2.9
constexpr uint16_t kId = 0x1234;

Bytes Icmp(uint8_t type, uint16_t id, uint16_t sequence, const Bytes& rest = {})
{
    Bytes b = {type, 0, 0, 0, uint8_t(id >> 8), uint8_t(id), uint8_t(sequence >> 8), uint8_t(sequence)};
    b.insert(b.end(), rest.begin(), rest.end());
    return b;
}

// An IPv4 header of `words` x 4 bytes (options zero) before the payload.
Bytes Ip(uint32_t destination, const Bytes& payload, int words = 5)
{
    Bytes b(size_t(words) * 4, 0);
    b[0] = uint8_t(0x40 | words);
    b[9] = 1;
    for (int i = 0; i < 4; ++i)
        b[16 + i] = uint8_t(destination >> (8 * i));
    b.insert(b.end(), payload.begin(), payload.end());
    return b;
}

Bytes Cut(Bytes b, size_t size)
{
    b.resize(size);
    return b;
}

} // namespace

// What a received datagram says about our request, read from a buffer of
// exactly its size.
TEST(IcmpEchoReply, DatagramsOfBothSocketKinds)
{
    using K = plat::EchoReplyKind;
    const Bytes unreachable = Icmp(3, 0, 0, Ip(kTarget, Icmp(8, kId, 0)));
    struct {
        const char* name;
        Bytes datagram;
        bool raw;
        uint32_t from;
        K kind;
    } cases[] = {
        {"echo reply", Icmp(0, kId, 0), false, kTarget, K::Echo},
        {"echo reply with data", Icmp(0, kId, 0, Bytes(56, 7)), false, kTarget, K::Echo},
        {"another identifier", Icmp(0, kId + 1, 0), false, kTarget, K::Other},
        {"another sequence", Icmp(0, kId, 1), false, kTarget, K::Other},
        {"from another host", Icmp(0, kId, 0), false, kElsewhere, K::Other},
        {"seven bytes", Cut(Icmp(0, kId, 0), 7), false, kTarget, K::Other},
        {"raw echo reply", Ip(kTarget, Icmp(0, kId, 0)), true, kTarget, K::Echo},
        {"raw, header with options", Ip(kTarget, Icmp(0, kId, 0), 6), true, kTarget, K::Echo},
        {"raw, our own request", Ip(kTarget, Icmp(8, kId, 0)), true, kTarget, K::Other},
        {"raw, header longer than the datagram", Cut(Ip(kTarget, Icmp(0, kId, 0), 15), 30), true, kTarget, K::Other},
        {"raw, header length below 20", [] { Bytes b = Ip(kTarget, Icmp(0, kId, 0)); b[0] = 0x44; return b; }(), true,
         kTarget, K::Other},
        {"raw, message cut short", Cut(Ip(kTarget, Icmp(0, kId, 0)), 27), true, kTarget, K::Other},
        {"unreachable about our request", Ip(kTarget, unreachable), true, kElsewhere, K::Unreachable},
        {"unreachable about another target", Ip(kTarget, Icmp(3, 0, 0, Ip(kElsewhere, Icmp(8, kId, 0)))), true,
         kElsewhere, K::Other},
        {"unreachable about another request", Ip(kTarget, Icmp(3, 0, 0, Ip(kTarget, Icmp(8, kId + 1, 0)))), true,
         kElsewhere, K::Other},
        {"unreachable, quoted header past the end", Cut(Ip(kTarget, Icmp(3, 0, 0, Ip(kTarget, Icmp(8, kId, 0), 15))), 64),
         true, kElsewhere, K::Other},
        {"unreachable on a datagram socket", unreachable, false, kElsewhere, K::Other},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Bytes exact(c.datagram); // no slack behind the last byte
        EXPECT_EQ(plat::ReadEchoReply(exact.data(), exact.size(), c.raw, c.from, kTarget, kId), c.kind);
    }
}

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
