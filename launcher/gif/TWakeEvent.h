#pragma once
#include <condition_variable>
#include <mutex>

namespace plat {
class Clock;
}

namespace GIFImage {

// An auto-reset event: Set wakes one wait, which resets it. Timed waits run
// on the platform clock in short sleeps, so simulated time drives them too.
class TWakeEvent {
public:
    void Set();
    // Waits up to ms milliseconds (-1: until set); answers whether it was set.
    bool WaitFor(int ms, plat::Clock& clock);

private:
    std::mutex fLock;
    std::condition_variable fChanged;
    bool fSignalled = false;
};

} // namespace GIFImage
