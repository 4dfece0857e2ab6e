#include "game/world/Shelving.h"

#include "game/world/HoverLook.h"

void Shelving::Load(const XmlNode& node)
{
    SceneObject::Load(node);
    XmlGetAttrString(node, L"thing", mThing);
}

void Shelving::SetActive(bool on)
{
    Pickable::SetActive(on);
    if (!on)
        return;
    SetItem(mThing);
    mHovered = false;
}

void Shelving::OnMouseMove(const Zelk::Point&, bool hit) { UpdateHoverLook(*this, mHovered, hit, "idle"); }

bool Shelving::Interact(SceneObject* other, bool test, int*)
{
    if (!other || other->GetName() != "boss")
        return false;
    if (!test)
        PlayAnimation("activation");
    return true;
}

void Shelving::OnAnimationEnd(ObjectPart*, const std::string& name)
{
    if (name == "activation")
        PlayAnimation(mHovered ? "hover" : "idle");
}
