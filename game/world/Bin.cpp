#include "game/world/Bin.h"

#include "game/world/HoverLook.h"
#include "game/world/OfficeSounds.h"

void Bin::OnMouseMove(const Zelk::Point& point, bool hit)
{
    Pickable::OnMouseMove(point, hit);
    UpdateHoverLook(*this, mHovered, hit, "idle");
}

bool Bin::Interact(SceneObject* other, bool test, int*)
{
    if (!other || other->GetName() != "boss" || other->GetItem().empty())
        return false;
    if (!test) {
        PlayOfficeSample("make_trash");
        if (!PlayAnimation("activation"))
            PlayAnimation("idle");
    }
    return true;
}

void Bin::OnAnimationEnd(ObjectPart*, const std::string& name)
{
    if (name != "activation")
        return;
    mHovered = false;
    PlayAnimation("idle");
}
