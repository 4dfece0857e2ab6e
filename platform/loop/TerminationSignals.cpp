#include "platform/loop/TerminationSignals.h"

#include "platform/loop/EventLoop.h"

namespace plat {

namespace {

std::atomic<TerminationSignals*> gCurrent{nullptr};
const int kSignals[] = {SIGTERM, SIGINT, SIGHUP};

} // namespace

TerminationSignals::TerminationSignals() : TerminationSignals(nullptr) {}

TerminationSignals::TerminationSignals(EventLoop& loop) : TerminationSignals(&loop) {}

TerminationSignals::TerminationSignals(EventLoop* loop) : mLoop(loop), mPrevious(gCurrent.load())
{
    static_assert(std::atomic<int>::is_always_lock_free && std::atomic<TerminationSignals*>::is_always_lock_free,
                  "the handler reads these");
    gCurrent = this;
    struct sigaction sa {};
    sa.sa_handler = OnSignal;
    sigemptyset(&sa.sa_mask);
    // Blocking calls on the program's other threads go on where they were.
    sa.sa_flags = SA_RESTART;
    for (int i = 0; i < 3; ++i)
        sigaction(kSignals[i], &sa, &mOld[i]);
}

TerminationSignals::~TerminationSignals()
{
    for (int i = 0; i < 3; ++i)
        sigaction(kSignals[i], &mOld[i], nullptr);
    gCurrent = mPrevious;
}

void TerminationSignals::Request()
{
    if (TerminationSignals* self = gCurrent.load()) {
        self->mCount.fetch_add(1);
        if (self->mLoop)
            self->mLoop->Wake();
    }
}

void TerminationSignals::OnSignal(int signal)
{
    TerminationSignals* self = gCurrent.load();
    if (!self)
        return;
    if (self->mCount.fetch_add(1) > 0) {
        // Asked twice: the default action ends the process once this
        // handler returns and the signal is no longer blocked.
        struct sigaction sa {};
        sa.sa_handler = SIG_DFL;
        sigemptyset(&sa.sa_mask);
        sigaction(signal, &sa, nullptr);
        raise(signal);
        return;
    }
    if (self->mLoop)
        self->mLoop->Wake();
}

} // namespace plat
