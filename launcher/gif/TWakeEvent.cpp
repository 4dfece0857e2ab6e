#include "launcher/gif/TWakeEvent.h"
#include "platform/clock/Clock.h"
#include <algorithm>

namespace GIFImage {

namespace {

const uint32_t kSliceMs = 2;

} // namespace

void TWakeEvent::Set()
{
    std::lock_guard<std::mutex> guard(fLock);
    fSignalled = true;
    fChanged.notify_all();
}

bool TWakeEvent::WaitFor(int ms, plat::Clock& clock)
{
    std::unique_lock<std::mutex> lock(fLock);
    if (ms < 0) {
        fChanged.wait(lock, [this] { return fSignalled; });
        fSignalled = false;
        return true;
    }
    const uint32_t start = clock.NowMs();
    for (;;) {
        if (fSignalled) {
            fSignalled = false;
            return true;
        }
        uint32_t elapsed = clock.NowMs() - start;
        if (elapsed >= uint32_t(ms))
            return false;
        lock.unlock();
        clock.SleepMs(std::min(kSliceMs, uint32_t(ms) - elapsed));
        lock.lock();
    }
}

} // namespace GIFImage
