#pragma once
#include "framework/widgets/ButtonListener.h"
#include "game/ui/UiElement.h"

#include <cstdint>

class UiButton;

// A scroll bar with the step buttons "up" (id 1) and "down" (id 2) and the
// thumb "slider" (id 3) moved along a line by position / maximum
// ("quorscroll", and the list's "scroll").
class UiScroll : public UiElement, public Zelk::ButtonListener {
public:
    explicit UiScroll(UiElement* owner);
    ~UiScroll() override;

    void Update() override;
    // Draws nothing of its own.
    void Draw(Zelk::Graphics* g) override;
    // Disables or enables the step buttons and hides or shows the thumb; the
    // bar's own flag stays.
    void SetDisabled(bool disabled) override;
    // A press on "up" or "down" steps the position.
    void OnButtonPress(intptr_t id) override;

    virtual void Load(const XmlNode& node, void* context);

    // Stores the maximum, then SetDisabled(maximum <= 0).
    void SetMax(int maximum);
    // Not clamped here; the next update clamps it.
    void SetValue(int value);
    int GetValue() const;
    int GetMax() const { return mMax; }

protected:
    int mMax = 0;
    int mValue = 0;
};
