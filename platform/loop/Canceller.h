#pragma once

namespace plat {

// A cancel request that blocking work can wait on: Fd() becomes readable
// once Cancel has been called, so poll() over a socket and this descriptor
// returns at once. Cancel is async-signal-safe and may come from any thread.
class Canceller {
public:
    Canceller();
    ~Canceller();
    Canceller(const Canceller&) = delete;
    Canceller& operator=(const Canceller&) = delete;
    void Cancel();
    bool Cancelled() const;
    int Fd() const { return mRead; }

private:
    int mRead = -1;
    int mWrite = -1;
};

} // namespace plat
