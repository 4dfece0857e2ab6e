#include "platform/loop/BackgroundTask.h"
#include "platform/crash/ThreadStart.h"

#include <atomic>

namespace plat {

struct BackgroundTask::Shared {
    Canceller canceller;
    std::atomic<bool> cancelled{false};
};

BackgroundTask::BackgroundTask(EventLoop& loop, std::function<void(const Canceller&)> work,
                               std::function<void()> finished)
    : mShared(std::make_shared<Shared>())
{
    std::shared_ptr<Shared> shared = mShared;
    mThread = StartThread("zelk-task", [&loop, shared, work = std::move(work), finished = std::move(finished)]() mutable {
        work(shared->canceller);
        if (shared->cancelled)
            return;
        loop.Post([shared, finished = std::move(finished)] {
            if (!shared->cancelled)
                finished();
        });
    });
}

BackgroundTask::~BackgroundTask()
{
    Cancel();
}

void BackgroundTask::Cancel()
{
    mShared->cancelled = true;
    mShared->canceller.Cancel();
    if (mThread.joinable())
        mThread.join();
}

} // namespace plat
