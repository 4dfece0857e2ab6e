#pragma once
#include <functional>

namespace plat {
class Clock;
}

namespace GIFImage {

// What an animation needs from the program's GUI loop: closures posted to
// the GUI thread, a way to run the pending ones from a wait there, and the
// clock painters time their frames by.
class PainterHost {
public:
    virtual ~PainterHost() = default;
    virtual void Post(std::function<void()> closure) = 0;
    virtual bool IsGuiThread() const = 0;
    // Runs the closures posted so far (GUI thread only).
    virtual void ProcessPending() = 0;
    virtual plat::Clock& Clock() = 0;
};

} // namespace GIFImage
