#include "launcher/LoopPainterHost.h"

#include "platform/loop/EventLoop.h"

namespace vorsel {

LoopPainterHost::LoopPainterHost(plat::EventLoop& loop, plat::Clock& clock)
    : mLoop(loop), mClock(clock), mGui(std::this_thread::get_id())
{
}

void LoopPainterHost::Post(std::function<void()> closure)
{
    {
        std::lock_guard<std::mutex> guard(mQueue->lock);
        mQueue->closures.push_back(std::move(closure));
    }
    mLoop.Post([queue = std::weak_ptr<Queue>(mQueue)] {
        if (auto q = queue.lock())
            q->RunAll();
    });
}

bool LoopPainterHost::IsGuiThread() const
{
    return std::this_thread::get_id() == mGui;
}

void LoopPainterHost::ProcessPending()
{
    mQueue->RunAll();
}

void LoopPainterHost::Queue::RunAll()
{
    for (;;) {
        std::function<void()> closure;
        {
            std::lock_guard<std::mutex> guard(lock);
            if (closures.empty())
                return;
            closure = std::move(closures.front());
            closures.pop_front();
        }
        closure();
    }
}

} // namespace vorsel
