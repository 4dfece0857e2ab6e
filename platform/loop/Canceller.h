#pragma once
#include "platform/loop/WakePipe.h"

namespace plat {

// A cancel request that blocking work can wait on: Fd() becomes readable
// once Cancel has been called, so poll() over a socket and this descriptor
// returns at once. Cancel is async-signal-safe and may come from any thread.
class Canceller {
public:
    void Cancel();
    bool Cancelled() const;
    int Fd() const { return mPipe.Fd(); }

private:
    WakePipe mPipe;
};

} // namespace plat
