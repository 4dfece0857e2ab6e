#include "tests/support/SilentResolver.h"

#include "platform/net/HostLookup.h"

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace testsupport {

namespace {

// One generation per object; a look-up blocks until its generation is let go.
struct State {
    std::mutex lock;
    std::condition_variable changed;
    int generation = 0;
    int released = 0;
    int asked = 0;
    int answered = 0;
};

State& Shared()
{
    static State* state = new State; // look-ups may outlive every test object
    return *state;
}

bool NeverAnswer(const std::string&, uint32_t&)
{
    State& s = Shared();
    std::unique_lock<std::mutex> g(s.lock);
    const int mine = s.generation;
    ++s.asked;
    s.changed.notify_all();
    s.changed.wait_for(g, std::chrono::minutes(1), [&] { return s.released >= mine; });
    if (s.generation == mine)
        ++s.answered;
    s.changed.notify_all();
    return false;
}

} // namespace

SilentResolver::SilentResolver()
{
    State& s = Shared();
    {
        std::lock_guard<std::mutex> g(s.lock);
        ++s.generation;
        s.asked = 0;
        s.answered = 0;
    }
    plat::SetHostResolver(NeverAnswer);
}

SilentResolver::~SilentResolver()
{
    plat::SetHostResolver(nullptr);
    State& s = Shared();
    std::unique_lock<std::mutex> g(s.lock);
    s.released = s.generation;
    s.changed.notify_all();
    // The let-go look-ups end on their own threads; wait for them a little,
    // so none is still inside the resolver when the next test starts.
    s.changed.wait_for(g, std::chrono::seconds(10), [&] { return s.answered >= s.asked; });
}

int SilentResolver::Asked() const
{
    State& s = Shared();
    std::lock_guard<std::mutex> g(s.lock);
    return s.asked;
}

int SilentResolver::Answered() const
{
    State& s = Shared();
    std::lock_guard<std::mutex> g(s.lock);
    return s.answered;
}

bool SilentResolver::WaitAsked() const
{
    State& s = Shared();
    std::unique_lock<std::mutex> g(s.lock);
    return s.changed.wait_for(g, std::chrono::seconds(10), [&] { return s.asked > 0; });
}

} // namespace testsupport
