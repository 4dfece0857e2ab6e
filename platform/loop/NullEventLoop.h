#pragma once
#include "platform/clock/NullClock.h"
#include "platform/loop/EventLoop.h"

namespace plat {

// The event loop in simulated time: waiting for a deadline moves the null
// clock there at once. Waiting with no deadline blocks until another thread
// posts (tests whose work all lies in simulated time never do).
class NullEventLoop : public EventLoop {
public:
    explicit NullEventLoop(NullClock& clock) : EventLoop(clock), mNull(clock) {}

protected:
    void Idle(int64_t ms) override;

private:
    NullClock& mNull;
};

} // namespace plat
