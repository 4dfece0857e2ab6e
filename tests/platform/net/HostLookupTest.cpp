#include "platform/loop/Canceller.h"
#include "platform/net/HostLookup.h"
#include "platform/net/HttpClient.h"
#include "platform/net/IcmpEcho.h"
#include "tests/support/SilentResolver.h"

#include <arpa/inet.h>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <thread>

using testsupport::SilentResolver;

namespace {

bool AnswersTenDotOne(const std::string& host, uint32_t& address)
{
    if (host != "update.example")
        return false;
    address = inet_addr("10.0.0.1");
    return true;
}

// The real look-up restored at the end of a test that replaced it.
struct ResolverInstalled {
    explicit ResolverInstalled(plat::HostResolver r) { plat::SetHostResolver(r); }
    ~ResolverInstalled() { plat::SetHostResolver(nullptr); }
};

} // namespace

TEST(HostLookup, AnswersFromTheResolverOrAtOnceForADottedAddress)
{
    ResolverInstalled installed(AnswersTenDotOne);
    struct {
        const char* host;
        plat::HostLookup::State state;
        const char* address;
    } cases[] = {
        {"update.example", plat::HostLookup::State::Found, "10.0.0.1"},
        {"other.example", plat::HostLookup::State::NotFound, nullptr},
        {"127.0.0.9", plat::HostLookup::State::Found, "127.0.0.9"},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.host);
        plat::HostLookup lookup(c.host);
        EXPECT_EQ(lookup.Wait(10000), c.state);
        EXPECT_EQ(lookup.Wait(0), c.state) << "an answer stays";
        if (c.address) {
            EXPECT_EQ(lookup.Address(), inet_addr(c.address));
        }
    }
    // A dotted address is there before any wait, with no time to wait at all.
    plat::HostLookup dotted("192.0.2.7");
    EXPECT_EQ(dotted.Wait(0), plat::HostLookup::State::Found);
}

// A name server that never answers: the wait ends by its own time or its
// cancel, and leaving the look-up behind does not wait for it either.
TEST(HostLookup, ASilentNameServerHoldsOnlyTheLookUpsOwnThread)
{
    SilentResolver silent;
    {
        plat::HostLookup lookup("update.example");
        EXPECT_EQ(lookup.Wait(0), plat::HostLookup::State::Pending);
        EXPECT_EQ(lookup.Wait(50), plat::HostLookup::State::Pending);
        plat::Canceller cancel;
        cancel.Cancel();
        EXPECT_EQ(lookup.Wait(600000, &cancel), plat::HostLookup::State::Cancelled);
    } // left behind while the resolver still blocks
    plat::HostLookup second("update.example");
    EXPECT_EQ(second.Wait(20), plat::HostLookup::State::Pending);
    EXPECT_EQ(silent.Answered(), 0) << "a wait lasted until the resolver gave up";
}

// The launcher's calls over a name server that never answers: each ends by
// its deadline or its cancel while the look-up is still unanswered.
TEST(HostLookup, TheLaunchersDeadlinesCoverTheLookUp)
{
    struct Case {
        const char* name;
        std::function<std::string(const plat::Canceller*)> call;
        bool cancel; // cancelled once the look-up has been asked
        std::string outcome;
    } cases[] = {
        {"download within its budget",
         [](const plat::Canceller* c) {
             plat::HttpGetOptions o;
             o.budgetMs = 200;
             o.cancel = c;
             return plat::HttpGet("http://update.example/conf", o).error;
         },
         false, "timed out"},
        {"page cancelled (its budget is the form's timer)",
         [](const plat::Canceller* c) {
             plat::HttpGetOptions o;
             o.budgetMs = 0x7FFFFFFF;
             o.maxRedirects = 5;
             o.cancel = c;
             return plat::HttpGet("http://ad.example/", o).error;
         },
         true, "cancelled"},
        {"echo within its time-out",
         [](const plat::Canceller* c) {
             std::string error;
             const plat::EchoStatus s = plat::IcmpEcho("update.example", 200, c, &error);
             return std::string(s == plat::EchoStatus::TimedOut ? "timed out: " : "other: ") + error;
         },
         false, "timed out: name look-up timed out"},
        {"echo cancelled",
         [](const plat::Canceller* c) {
             std::string error;
             const plat::EchoStatus s = plat::IcmpEcho("update.example:80", 600000, c, &error);
             return std::string(s == plat::EchoStatus::Error ? "error: " : "other: ") + error;
         },
         true, "error: cancelled"},
    };
    for (Case& c : cases) {
        SCOPED_TRACE(c.name);
        SilentResolver silent;
        plat::Canceller cancel;
        std::thread canceller;
        if (c.cancel)
            canceller = std::thread([&] {
                silent.WaitAsked();
                cancel.Cancel();
            });
        EXPECT_EQ(c.call(&cancel), c.outcome);
        EXPECT_EQ(silent.Answered(), 0) << "the call waited for the name server";
        if (canceller.joinable())
            canceller.join();
    }
}
