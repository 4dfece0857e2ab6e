#pragma once
// The trash bin: a boss carrying something empties its hands here; an
// empty-handed boss is refused.
#include "game/world/Pickable.h"

class Bin : public Pickable {
public:
    void OnMouseMove(const Zelk::Point& point, bool hit) override;
    bool Interact(SceneObject* other, bool test, int* word) override;
    // After "activation": not hovered, "idle".
    void OnAnimationEnd(ObjectPart* part, const std::string& name) override;

private:
    bool mHovered = false;
};
