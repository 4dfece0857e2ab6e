#pragma once

namespace plat {

class EventLoop;

// SIGTERM, SIGINT and SIGHUP (a shutdown, an interrupt, the end of the
// session) become a request the loop's thread can read: the handler only
// sets a flag and wakes the loop. One loop at a time.
class TerminationSignals {
public:
    explicit TerminationSignals(EventLoop& loop);
    ~TerminationSignals();
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;
    // Whether a signal arrived since the handlers were installed.
    static bool Requested();
};

} // namespace plat
