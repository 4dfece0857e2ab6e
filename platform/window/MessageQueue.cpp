#include "platform/window/WindowSystem.h"

namespace plat {

void MessageQueue::Post(const WindowMessage& msg)
{
    std::function<void()> notify;
    {
        std::lock_guard<std::mutex> g(mLock);
        mQueue.push_back(msg);
        notify = mNotify;
    }
    if (notify)
        notify();
}

void MessageQueue::PostCoalescingMoves(const WindowMessage& msg)
{
    std::function<void()> notify;
    {
        std::lock_guard<std::mutex> g(mLock);
        if (!mQueue.empty() && mQueue.back().message == msg.message)
            mQueue.back() = msg;
        else
            mQueue.push_back(msg);
        notify = mNotify;
    }
    if (notify)
        notify();
}

void MessageQueue::SetNotify(std::function<void()> notify)
{
    std::lock_guard<std::mutex> g(mLock);
    mNotify = std::move(notify);
}

bool MessageQueue::Peek(WindowMessage& out)
{
    std::lock_guard<std::mutex> g(mLock);
    if (mQueue.empty())
        return false;
    out = mQueue.front();
    mQueue.pop_front();
    return true;
}

bool MessageQueue::Empty()
{
    std::lock_guard<std::mutex> g(mLock);
    return mQueue.empty();
}

void MessageQueue::Clear()
{
    std::lock_guard<std::mutex> g(mLock);
    mQueue.clear();
}

} // namespace plat
