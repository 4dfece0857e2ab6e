#pragma once
#include <atomic>
#include <csignal>

namespace plat {

class EventLoop;

// SIGTERM, SIGINT and SIGHUP (a shutdown, an interrupt, the end of the
// session) become a request the owner reads on its own thread: the handler
// only counts the signal and wakes the loop, when there is one. A second
// signal after the first (the program is closing, or does not listen) ends
// the process at once by that signal's default action.
//
// The handlers belong to the newest object: one made while another lives
// takes the signals until it goes, then the older one has them again.
class TerminationSignals {
public:
    // For an owner that polls Requested on its own (the window system's
    // event pump looks at every pass).
    TerminationSignals();
    // Wakes the loop on a signal, so a sleeping loop sees it at once.
    explicit TerminationSignals(EventLoop& loop);
    ~TerminationSignals();
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;
    // Whether a signal arrived while this object had the handlers.
    bool Requested() const { return mCount.load() > 0; }
    // The request a first signal makes, from the program itself (its display
    // went away), to the newest object: counted and woken alike, but it never
    // ends the process. Any thread.
    static void Request();

private:
    explicit TerminationSignals(EventLoop* loop);
    static void OnSignal(int signal);
    EventLoop* const mLoop;
    std::atomic<int> mCount{0};
    TerminationSignals* const mPrevious;
    struct sigaction mOld[3];
};

} // namespace plat
