#include "platform/loop/TerminationSignals.h"

#include "platform/loop/EventLoop.h"

#include <atomic>
#include <csignal>

namespace plat {

namespace {

std::atomic<EventLoop*> gLoop{nullptr};
volatile sig_atomic_t gRequested = 0;
const int kSignals[] = {SIGTERM, SIGINT, SIGHUP};
struct sigaction gOld[3];

void OnSignal(int)
{
    gRequested = 1;
    if (EventLoop* loop = gLoop.load())
        loop->Wake();
}

} // namespace

TerminationSignals::TerminationSignals(EventLoop& loop)
{
    gRequested = 0;
    gLoop = &loop;
    struct sigaction sa {};
    sa.sa_handler = OnSignal;
    sigemptyset(&sa.sa_mask);
    for (int i = 0; i < 3; ++i)
        sigaction(kSignals[i], &sa, &gOld[i]);
}

TerminationSignals::~TerminationSignals()
{
    for (int i = 0; i < 3; ++i)
        sigaction(kSignals[i], &gOld[i], nullptr);
    gLoop = nullptr;
}

bool TerminationSignals::Requested()
{
    return gRequested != 0;
}

} // namespace plat
