#pragma once
#include "framework/widgets/Widget.h"
#include "game/core/XmlFunctions.h"

#include <cstdint>
#include <map>
#include <string>

class Effect;

namespace Zelk {
class Graphics;
}

// The effect parameter ids a UI element fills (the callbacks read them).
enum : int32_t {
    UI_PARAM_OPACITY = 1,     // float*
    UI_PARAM_OFFSET = 3,      // UiPoint*
    UI_PARAM_SCALE = 4,       // float*
    UI_PARAM_SCALE_POINT = 5, // UiPoint*
    UI_PARAM_ELEMENT = 6,     // UiElement*
    UI_PARAM_GRAPHICS = 0x106 // Zelk::Graphics*, only while the element draws
};

// Two signed 32-bit integers, as effect callbacks write them.
struct UiPoint {
    int32_t x = 0;
    int32_t y = 0;
};

// The base of every widget of the game's UI kit and of the game screens: a
// framework widget with a layout rectangle of its own, an optional effect
// that moves, scales about a point and fades it, named children that it owns,
// and showing and hiding through the effect's "onshow" and "onhide".
//
// Every update the widget rectangle is recomputed from the layout rectangle,
// the effect values and the scales of all owners, so an effect that scales a
// dialog scales everything inside it.
class UiElement : public Zelk::Widget {
public:
    // A new element is visible with its (still empty) resources taken; owner
    // is the element that holds it (null for a top-level screen).
    explicit UiElement(UiElement* owner);
    // Deletes the effect, then every child widget, named or not.
    ~UiElement() override;

    // Advances the effect, places the widget, runs the framework update and
    // the effect's particle systems, and marks the widget dirty.
    void Update() override;
    // Gives the effect the graphics as parameter 0x106 for the message
    // "render_ps" (particle systems draw on top), then clears it again.
    void Draw(Zelk::Graphics* g) override;
    // Clears both in-progress flags, then acquires (visible) or releases
    // (hidden) the resources, also when the visibility did not change.
    void SetVisible(bool visible) override;
    // Stores the layout rectangle and places the widget there.
    void Resize(int x, int y, int width, int height) override;
    // Stores the layout position and places the widget there, keeping the
    // layout size.
    void Move(int x, int y) override;

    virtual void OnShow() {}
    virtual void OnHide() {}
    virtual void OnAcquireResources() {}
    virtual void OnReleaseResources() {}
    // OnAcquireResources, then resources released = false.
    virtual void AcquireResources();
    // OnReleaseResources, then resources released = true.
    virtual void ReleaseResources();
    // Without an effect: visible at once. With one: the message "onshow",
    // and the effect makes the element visible (DlgShow). Then OnShow.
    // Nothing while a show is in progress.
    virtual void Show();
    // Show on every named child, in name order.
    virtual void ShowChildren();
    // Hide on every named child, in name order.
    virtual void HideChildren();
    // OnHide; then without an effect hidden at once, with one the message
    // "onhide" (the effect hides it, DlgHide). Nothing while a hide is in
    // progress.
    virtual void Hide();
    // Makes child a child widget and enters it under the name (a second child
    // under one name replaces the entry; both stay children).
    virtual void AddChild(const std::string& name, UiElement* child);
    // The named child, null when there is none.
    virtual UiElement* FindChild(const std::string& name);

    // Reads the attributes every kind shares: "x", "y", "width", "height"
    // (then Resize, virtually), "has_alpha", "mousevisible", "effect",
    // "scalepointx", "scalepointy".
    void Load(const XmlNode& node);

    UiElement* GetOwner() const { return mOwner; }
    Effect* GetEffect() const { return mEffect; }
    bool AreResourcesReleased() const { return mResourcesReleased; }
    bool IsShowInProgress() const { return mShowInProgress; }
    bool IsHideInProgress() const { return mHideInProgress; }
    const std::map<std::string, UiElement*>& GetChildren() const { return mChildren; }

    int GetLayoutX() const { return mLayoutX; }
    int GetLayoutY() const { return mLayoutY; }
    int GetLayoutWidth() const { return mLayoutWidth; }
    int GetLayoutHeight() const { return mLayoutHeight; }
    Zelk::Rect GetLayoutRect() const { return {mLayoutX, mLayoutY, mLayoutWidth, mLayoutHeight}; }

    UiPoint GetOffset() const { return mOffset; }
    void SetOffset(int x, int y) { mOffset = {x, y}; }
    float GetScale() const { return mScale; }
    void SetScale(float scale) { mScale = scale; }
    UiPoint GetScalePoint() const { return mScalePoint; }
    void SetScalePoint(int x, int y) { mScalePoint = {x, y}; }
    float GetOpacity() const { return mOpacity; }
    void SetOpacity(float opacity) { mOpacity = opacity; }

    // P: the product of the owners' scales (1 without owner).
    float GetOwnersScale() const;
    // S: the own scale times the owners' scales.
    float GetCompoundScale() const { return mScale * GetOwnersScale(); }
    // O: the own opacity times the owners' opacities.
    float GetCompoundOpacity() const;
    // Whether texts are drawn through an image stretched over the widget:
    // S differs from 1 by 0.01 or more.
    bool IsScaled() const;
    // The alpha pictures are modulated with: trunc(255 x O).
    int GetDrawAlpha() const;

protected:
    UiPoint mOffset;
    float mScale = 1;
    UiPoint mScalePoint;
    float mOpacity = 1;
    Effect* mEffect = nullptr;
    int32_t mLayoutX = 0, mLayoutY = 0, mLayoutWidth = 0, mLayoutHeight = 0;
    UiElement* mOwner;
    bool mResourcesReleased = true;
    std::map<std::string, UiElement*> mChildren;
    bool mHideInProgress = false;
    bool mShowInProgress = false;
};
