#pragma once

namespace Zelk {

// Receives a button's events by the button's id. Every default does nothing.
class ButtonListener {
public:
    virtual ~ButtonListener() = default;
    virtual void OnButtonPressClicks(int id, int clickCount) { OnButtonPress(id); }
    virtual void OnButtonPress(int id) {}
    virtual void OnButtonClick(int id) {}
    virtual void OnButtonHeld(int id) {}
    virtual void OnButtonEnter(int id) {}
    virtual void OnButtonLeave(int id) {}
    virtual void OnButtonHover(int id, int x, int y) {}
};

} // namespace Zelk
