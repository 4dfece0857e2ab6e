#pragma once
#include "platform/msgbox/MessageBoxes.h"

namespace plat {

class RealWindowSystem;

// Message boxes on the desktop through SDL, shown from the event thread.
class RealMessageBoxes : public MessageBoxes {
public:
    explicit RealMessageBoxes(RealWindowSystem* windows) : mWindows(windows) {}
    int Show(const std::wstring& text, const std::wstring& caption, uint32_t flags) override;
    int ShowFromCrash(const std::wstring& text, const std::wstring& caption, uint32_t flags) override;

private:
    int ShowOn(bool eventThread, const std::wstring& text, const std::wstring& caption, uint32_t flags);
public:

private:
    RealWindowSystem* mWindows;
};

} // namespace plat
