#pragma once
#include <cstdint>
#include <memory>
#include <string>

namespace plat {

class Canceller;

// Host name or dotted address to an IPv4 address (network byte order). A
// dotted address is taken as it stands; a name is looked up with getaddrinfo,
// which may block for as long as the name service takes. False when the host
// is not found.
bool ResolveHost(const std::string& host, uint32_t& address);

// Test seam: replaces the name look-up (not the dotted-address parse) so
// tests never depend on a name service. Null restores the real look-up.
using HostResolver = bool (*)(const std::string& host, uint32_t& address);
void SetHostResolver(HostResolver resolver);

// A name look-up that a deadline or a cancel can leave behind. A dotted
// address is found at once; a name is looked up on a short-lived thread of
// its own, so the caller waits only as long as it chooses. A look-up that is
// left (the object goes before the answer came) finishes on its thread and
// its answer is dropped: a name server that never answers holds that thread,
// never the caller.
class HostLookup {
public:
    enum class State {
        Found,     // Address() holds the answer
        NotFound,  // the name does not resolve
        Pending,   // no answer yet (the wait's time ran out)
        Cancelled, // the cancel came first
    };

    explicit HostLookup(const std::string& host);
    ~HostLookup();
    HostLookup(const HostLookup&) = delete;
    HostLookup& operator=(const HostLookup&) = delete;

    // Waits up to timeoutMs (0 or less: only looks) for the answer, or until
    // the cancel descriptor becomes readable. Once Found or NotFound, stays so.
    State Wait(int64_t timeoutMs, const Canceller* cancel = nullptr);
    uint32_t Address() const { return mAddress; }

private:
    struct Shared;
    std::shared_ptr<Shared> mShared; // with the look-up thread; null when answered at once
    State mState = State::Pending;
    uint32_t mAddress = 0;
};

} // namespace plat
