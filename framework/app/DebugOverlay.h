#pragma once
#include <cstdint>
#include <string>

namespace Zelk {

// The small information boxes in the lower right corner while the overlay is
// on: frames per second (or the mouse position) and, during demo playback,
// the time left. This holds what they show and when they change; the boxes
// themselves are 50 x (font height + 4) images filled with kBackColor and
// written in kTextColor.
class DebugOverlay {
public:
    static constexpr int kWidth = 50;
    // Opaque: a colour without alpha would leave the box invisible.
    static constexpr uint32_t kBackColor = 0xFF000000;
    static constexpr uint32_t kTextColor = 0xFFFFFFFF;

    // The overlay was switched on: the next frame shows 0.
    void RestartFPS(uint32_t nowMs);
    // One frame. True when the box is to be redrawn, with its new text: at
    // once after a restart, then once per full second with the rate.
    bool UpdateFPS(uint32_t nowMs, std::wstring& text);
    int32_t LastFPS() const { return mLastFPS; }

    static std::wstring MousePosText(int x, int y);

    // The demo clock. True when it is due again (1000 / multiplier ms after
    // its last redraw), with the time left until the demo's last update.
    bool UpdateDemoTime(uint32_t nowTick, double multiplier, int32_t lastUpdate, int32_t currentUpdate,
                        int32_t updatePeriodMs, std::wstring& text);
    static std::wstring DemoTimeText(int32_t updatesLeft, int32_t updatePeriodMs);

private:
    int32_t mFrames = 0;
    int32_t mLastFPS = 0;
    bool mRestart = false;
    uint32_t mTimerStart = 0;
    uint32_t mLastDemoRedraw = 0;
};

extern DebugOverlay gDebugOverlay;

} // namespace Zelk
