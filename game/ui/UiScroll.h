#pragma once
#include "framework/widgets/ButtonListener.h"
#include "game/ui/UiElement.h"

#include <cstdint>

class UiButton;

// A scroll bar with the step buttons "up" (id 1) and "down" (id 2) and the
// thumb "slider" (id 3), moved every update along the line from (distx1,
// disty1) to (distx2, disty2) by position / maximum ("quorscroll", and the
// list's "scroll"). A missing button is left out of what would use it.
class UiScroll : public UiElement, public Zelk::ButtonListener {
public:
    explicit UiScroll(UiElement* owner);
    ~UiScroll() override;

    // Clamps the position to 0..maximum, moves the thumb, then the element's
    // update.
    void Update() override;
    // Draws nothing of its own.
    void Draw(Zelk::Graphics* g) override;
    // Disables or enables the step buttons and hides or shows the thumb; the
    // bar's own flag stays.
    void SetDisabled(bool disabled) override;
    // A press on "up" or "down" steps the position by one within 0..maximum.
    void OnButtonPress(intptr_t id) override;

    // "distx1", "disty1", "distx2", "disty2" and the buttons from the child
    // elements named "up", "down" and "slider" (their type is not looked at).
    virtual void Load(const XmlNode& node, void* context);

    // Stores the maximum, then SetDisabled(maximum <= 0).
    void SetMax(int maximum);
    // Not clamped here; the next update clamps it.
    void SetValue(int value);
    int GetValue() const;
    int GetMax() const { return mMax; }
    // The thumb's line: (startX, startY) at position 0, (endX, endY) at the
    // maximum, relative to the bar.
    void SetTrack(int startX, int startY, int endX, int endY);
    void GetTrack(int& startX, int& startY, int& endX, int& endY) const;

    UiButton* GetUpButton() const { return mUp; }
    UiButton* GetDownButton() const { return mDown; }
    UiButton* GetThumb() const { return mThumb; }

protected:
    UiButton* mUp = nullptr;
    UiButton* mDown = nullptr;
    UiButton* mThumb = nullptr;
    int mMax = 0;
    int mValue = 0;
    int mStartX = 0, mEndX = 0, mStartY = 0, mEndY = 0;
};
