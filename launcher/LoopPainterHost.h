#pragma once
#include "launcher/gif/PainterHost.h"

#include <deque>
#include <memory>
#include <mutex>
#include <thread>

namespace plat {
class EventLoop;
}

namespace vorsel {

// The launcher's loop as the GUI loop of GIF animations. A painter's
// closures wait in a queue of their own: the loop runs them as it passes,
// and a wait for a painter on the loop's thread runs only them, never the
// form's handlers. The loop's thread is the one that made this host.
class LoopPainterHost : public GIFImage::PainterHost {
public:
    LoopPainterHost(plat::EventLoop& loop, plat::Clock& clock);

    void Post(std::function<void()> closure) override;
    bool IsGuiThread() const override;
    void ProcessPending() override;
    plat::Clock& Clock() override { return mClock; }

private:
    struct Queue {
        std::mutex lock;
        std::deque<std::function<void()>> closures;
        void RunAll();
    };

    plat::EventLoop& mLoop;
    plat::Clock& mClock;
    std::thread::id mGui;
    // Shared with the loop's closures, which may outlive the host.
    std::shared_ptr<Queue> mQueue = std::make_shared<Queue>();
};

} // namespace vorsel
