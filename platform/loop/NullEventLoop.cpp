#include "platform/loop/NullEventLoop.h"

#include <poll.h>

namespace plat {

void NullEventLoop::Idle(int64_t ms)
{
    if (ms < 0) {
        EventLoop::Idle(-1);
        return;
    }
    pollfd p{WakeFd(), POLLIN, 0};
    if (poll(&p, 1, 0) > 0)
        return; // something was posted: no time passes
    mNull.Advance(uint32_t(ms > 0x7FFFFFFF ? 0x7FFFFFFF : ms));
}

} // namespace plat
