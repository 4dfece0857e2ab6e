#pragma once
#include <cstdint>

namespace Zelk {

// Receives a button's events by the button's id. Ids may be addresses (a
// screen compares them with the children it kept), so they are pointer-sized.
// Every default does nothing, except that a press with its click count is
// passed on as a plain press.
class ButtonListener {
public:
    virtual ~ButtonListener() = default;
    virtual void OnButtonPressClicks(intptr_t id, int clickCount) { OnButtonPress(id); }
    virtual void OnButtonPress(intptr_t id) {}
    virtual void OnButtonClick(intptr_t id) {}
    virtual void OnButtonHeld(intptr_t id) {}
    virtual void OnButtonEnter(intptr_t id) {}
    virtual void OnButtonLeave(intptr_t id) {}
    virtual void OnButtonHover(intptr_t id, int x, int y) {}
};

} // namespace Zelk
