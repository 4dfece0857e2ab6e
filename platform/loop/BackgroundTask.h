#pragma once
#include "platform/loop/Canceller.h"
#include "platform/loop/EventLoop.h"

#include <functional>
#include <memory>
#include <thread>

namespace plat {

// One blocking operation on a short-lived worker thread. The work gets the
// cancel descriptor to wait on; when it returns, `finished` runs on the
// loop's thread (posted), unless the task was cancelled first. Destroying
// the task cancels and joins the worker, so the loop must outlive it.
class BackgroundTask {
public:
    BackgroundTask(EventLoop& loop, std::function<void(const Canceller&)> work, std::function<void()> finished);
    ~BackgroundTask();
    BackgroundTask(const BackgroundTask&) = delete;
    BackgroundTask& operator=(const BackgroundTask&) = delete;
    // Cancels the work and waits for the worker; `finished` never runs.
    void Cancel();

private:
    struct Shared;
    std::shared_ptr<Shared> mShared;
    std::thread mThread;
};

} // namespace plat
