#pragma once
// The hover look of the furniture: entering plays "hover" over the resting
// animation, leaving plays the resting one again over "hover".
#include "game/world/SceneObject.h"

inline void UpdateHoverLook(SceneObject& object, bool& hovered, bool hit, const char* resting)
{
    if (hit && !hovered && object.GetAnimationName() == resting)
        object.PlayAnimation("hover");
    else if (!hit && hovered && object.GetAnimationName() == "hover")
        object.PlayAnimation(resting);
    hovered = hit;
}
