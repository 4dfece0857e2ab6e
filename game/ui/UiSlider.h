#pragma once
#include "game/ui/UiElement.h"

class UiBar;
class UiText;

// An integer value 0..maximum set by presses in a mouse zone, shown by the
// children "back" (a text), "bar" (a bar given the same maximum and value)
// and "thumb" (a text centred on the value along the track) ("quorslider").
// A missing "bar" or "thumb" is left out of what would use it.
class UiSlider : public UiElement {
public:
    explicit UiSlider(UiElement* owner);
    ~UiSlider() override;

    // Clamps the value and centres the thumb on the track, within the track.
    void Update() override;
    // Inside the zone (edges included): right of width - mz_dz2 the maximum,
    // left of mz_dz1 0, else (x - zone x) / zone width x maximum; a zone of
    // width 0 gives 0 at its only point.
    void MouseButtonDown(int x, int y, int button, int clickCount) override;
    // Keeps "back", "bar" and "thumb" and makes every child mouse-invisible,
    // so presses on the pictures reach the slider.
    void AddChild(const std::string& name, UiElement* child) override;

    // "mz_x", "mz_y", "mz_width", "mz_height", "mz_dz1", "mz_dz2" and the
    // child elements named "back", "bar" and "thumb" (type not looked at).
    virtual void Load(const XmlNode& node, void* context);
    virtual void SetMax(int maximum);
    // Not clamped here; the bar gets the same number.
    virtual void SetValue(int value);
    virtual int GetValue();

    int GetMax() const { return mMax; }
    UiBar* GetBar() const { return mBar; }
    UiText* GetThumb() const { return mThumb; }
    UiText* GetBack() const { return mBack; }
    int GetThumbMargin() const { return mThumbMargin; }

protected:
    int mMax = 0;
    int mValue = 0;
    UiBar* mBar = nullptr;
    UiText* mThumb = nullptr;
    UiText* mBack = nullptr;
    int mZoneX = 0, mZoneY = 0, mZoneWidth = 0, mZoneHeight = 0;
    int mLowDeadZone = 0, mHighDeadZone = 0;
    int mThumbMargin = 0;
};
