#pragma once
#include "framework/widgets/Widget.h"

#include <map>
#include <string>

// The base of every widget of the game's UI kit and of the game screens: a
// framework widget with a layout rectangle, named children that it owns, and
// showing and hiding. Effects, placement by effect values and the resource
// hooks' users arrive with the effects system and the UI kit.
class UiElement : public Zelk::Widget {
public:
    // A new element is visible; owner is the element that holds it (null for
    // a top-level screen).
    explicit UiElement(UiElement* owner);
    // Deletes every child.
    ~UiElement() override;

    void SetVisible(bool visible) override;
    // Stores the layout rectangle and places the widget there.
    void Resize(int x, int y, int width, int height) override;

    virtual void OnShow() {}
    virtual void OnHide() {}
    virtual void OnAcquireResources() {}
    virtual void OnReleaseResources() {}
    virtual void AcquireResources();
    virtual void ReleaseResources();
    // Shows the element, then OnShow.
    virtual void Show();
    // OnHide, then hides the element.
    virtual void Hide();
    // Makes child a child widget and enters it under the name (a second child
    // under one name replaces the entry; both stay children).
    virtual void AddChild(const std::string& name, UiElement* child);
    // The named child, null when there is none.
    virtual UiElement* FindChild(const std::string& name);

    UiElement* GetOwner() const { return mOwner; }
    bool AreResourcesReleased() const { return mResourcesReleased; }

protected:
    int mLayoutX = 0, mLayoutY = 0, mLayoutWidth = 0, mLayoutHeight = 0;
    UiElement* mOwner;
    bool mResourcesReleased = true;
    std::map<std::string, UiElement*> mChildren;
};
