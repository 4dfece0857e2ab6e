#pragma once

namespace plat {

// A pipe one thread sleeps on (poll() over Fd() with whatever else it waits
// for) and any thread, or a signal handler, wakes by writing a byte.
class WakePipe {
public:
    WakePipe();
    ~WakePipe();
    WakePipe(const WakePipe&) = delete;
    WakePipe& operator=(const WakePipe&) = delete;
    // Makes Fd() readable; async-signal-safe.
    void Wake();
    // Whether a wake-up is waiting to be drained.
    bool Woken() const;
    // Takes the wake-ups that came, so the next wait sleeps again.
    void Drain();
    int Fd() const { return mRead; }

private:
    int mRead = -1;
    int mWrite = -1;
};

} // namespace plat
