#include "platform/net/HostLookup.h"

#include "platform/crash/CrashSignals.h"
#include "platform/loop/Canceller.h"

#include <algorithm>
#include <arpa/inet.h>
#include <atomic>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <system_error>
#include <thread>
#include <unistd.h>

namespace plat {

namespace {

std::atomic<HostResolver> gResolver{nullptr};

bool LookUpName(const std::string& host, uint32_t& address)
{
    addrinfo hints;
    std::memset(&hints, 0, sizeof hints);
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* list = nullptr;
    if (getaddrinfo(host.c_str(), nullptr, &hints, &list) != 0 || list == nullptr)
        return false;
    address = reinterpret_cast<const sockaddr_in*>(list->ai_addr)->sin_addr.s_addr;
    freeaddrinfo(list);
    return true;
}

// A dotted address, or false for a name.
bool DottedAddress(const std::string& host, uint32_t& address)
{
    const uint32_t a = inet_addr(host.c_str());
    if (a == INADDR_NONE)
        return false;
    address = a;
    return true;
}

} // namespace

bool ResolveHost(const std::string& host, uint32_t& address)
{
    uint32_t a = 0;
    if (!DottedAddress(host, a)) {
        HostResolver r = gResolver.load();
        if (!(r ? r(host, a) : LookUpName(host, a)))
            return false;
        if (a == INADDR_NONE)
            return false;
    }
    address = a;
    return true;
}

void SetHostResolver(HostResolver resolver) { gResolver.store(resolver); }

// What the caller and the look-up thread share; the last of them frees it.
// The thread writes one byte into the pipe when the answer is in place.
struct HostLookup::Shared {
    int readFd = -1;
    int writeFd = -1;
    std::mutex lock;
    bool answered = false;
    bool found = false;
    uint32_t address = 0;
    ~Shared()
    {
        if (readFd >= 0)
            close(readFd);
        if (writeFd >= 0)
            close(writeFd);
    }
};

HostLookup::HostLookup(const std::string& host)
{
    if (DottedAddress(host, mAddress)) {
        mState = State::Found;
        return;
    }
    auto shared = std::make_shared<Shared>();
    int fds[2];
    if (pipe2(fds, O_NONBLOCK | O_CLOEXEC) == 0) {
        shared->readFd = fds[0];
        shared->writeFd = fds[1];
        try {
            std::thread([shared, host] {
                PrepareThreadForCrashes();
                uint32_t address = 0;
                const bool found = ResolveHost(host, address);
                {
                    std::lock_guard<std::mutex> g(shared->lock);
                    shared->answered = true;
                    shared->found = found;
                    shared->address = address;
                }
                const char b = 1;
                ssize_t r = write(shared->writeFd, &b, 1);
                (void)r;
            }).detach();
            mShared = std::move(shared);
            return;
        } catch (const std::system_error&) {
            // No thread to be had: the look-up below blocks instead.
        }
    }
    mState = ResolveHost(host, mAddress) ? State::Found : State::NotFound;
}

HostLookup::~HostLookup() = default;

HostLookup::State HostLookup::Wait(int64_t timeoutMs, const Canceller* cancel)
{
    if (mState == State::Found || mState == State::NotFound)
        return mState;
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs > 0 ? timeoutMs : 0);
    for (bool looked = false;; looked = true) {
        bool answered = false;
        {
            std::lock_guard<std::mutex> g(mShared->lock);
            if (mShared->answered) {
                answered = true;
                mAddress = mShared->address;
                mState = mShared->found ? State::Found : State::NotFound;
            }
        }
        if (answered) {
            mShared.reset(); // outside its lock: this may be the last owner
            return mState;
        }
        if (cancel && cancel->Cancelled())
            return State::Cancelled;
        const int64_t left = std::max<int64_t>(
            0, std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count());
        if (left == 0 && looked)
            return State::Pending;
        // Woken by the answer's byte or the cancel; EINTR just looks again.
        pollfd p[2] = {{mShared->readFd, POLLIN, 0}, {cancel ? cancel->Fd() : -1, POLLIN, 0}};
        poll(p, cancel ? 2 : 1, int(std::min<int64_t>(left, 0x7FFFFFFF)));
    }
}

} // namespace plat
