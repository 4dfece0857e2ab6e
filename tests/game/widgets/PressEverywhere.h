#pragma once
// Presses and releases the left button at the centre of every visible UI
// element of a tree, parents first, as the structural runs of the UI kit do.
#include "framework/widgets/WidgetManager.h"
#include "game/ui/UiElement.h"

#include <vector>

namespace uitest {

inline void PressEverywhere(Zelk::WidgetManager* manager, UiElement* element)
{
    if (!element->mVisible)
        return;
    Zelk::Point at = element->GetScreenPos();
    int x = at.mX + element->mWidth / 2, y = at.mY + element->mHeight / 2;
    manager->MouseMove(x, y);
    manager->MouseDown(x, y, 1);
    manager->MouseUp(x, y, 1);
    std::vector<UiElement*> children;
    for (Zelk::Widget* widget : element->mWidgets)
        if (auto* child = dynamic_cast<UiElement*>(widget))
            children.push_back(child);
    for (UiElement* child : children)
        PressEverywhere(manager, child);
}

} // namespace uitest
