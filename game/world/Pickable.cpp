#include "game/world/Pickable.h"

#include "game/core/DebugTrace.h"
#include "game/world/ObjectPart.h"
#include "game/world/OfficeWorld.h"

Pickable::Pickable() : mRegistryWorld(&GetOfficeWorld())
{
    mRegistryPosition = mRegistryWorld->pickables.insert(mRegistryWorld->pickables.end(), this);
}

Pickable::~Pickable() { mRegistryWorld->pickables.erase(mRegistryPosition); }

void Pickable::SetActive(bool on)
{
    SceneObject::SetActive(on);
    ResetCheckmarks();
}

void Pickable::OnMouseMove(const Zelk::Point& point, bool hit)
{
    SceneObject* linked = FindLinkedObject();
    if (linked && linked != this)
        linked->OnMouseMove(point, hit);
}

void Pickable::ApplyLevelState(const XmlNode& node)
{
    SceneObject::ApplyLevelState(node);
    SetActive(true);
}

void Pickable::ResetCheckmarks()
{
    for (int i = 0; i < 2; ++i) {
        mCheckmarks[i] = FindPart("checkmark", i);
        mCheckmarkShown[i] = false;
        if (mCheckmarks[i]) {
            mCheckmarks[i]->SetShownFlag(false);
            mCheckmarks[i]->PlayAnimation("idle", false);
        }
    }
}

void Pickable::ShowCheckmark()
{
    for (int i = 0; i < 2; ++i)
        if (mCheckmarks[i] && !mCheckmarks[i]->IsVisible()) {
            mCheckmarks[i]->Show(true);
            mCheckmarkShown[i] = true;
            return;
        }
    DebugTrace("Warning: object <%s> is over clicked... oh... slowly, please!", GetName().c_str());
}

void Pickable::HideCheckmark()
{
    for (int i = 1; i >= 0; --i)
        if (mCheckmarks[i] && mCheckmarkShown[i]) {
            mCheckmarks[i]->Show(false);
            mCheckmarkShown[i] = false;
            return;
        }
}
