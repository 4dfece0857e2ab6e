#include "game/world/Door.h"

#include "framework/app/StringUtil.h"
#include "game/world/Person.h"
#include "game/world/SceneObjectList.h"

void Door::Load(const XmlNode& node)
{
    SceneObject::Load(node);
    std::string type;
    XmlGetAttrString(node, L"type", type);
    mType = type == "manual" ? kManual : type == "auto" ? kAuto : kOther;
    mTargetNames.clear();
    for (const XmlNode& child : node.Children()) {
        if (child.Name() != L"target")
            continue;
        std::wstring object;
        XmlGetAttrWString(child, L"object", object);
        mTargetNames.push_back(Zelk::WStringToString(object));
    }
}

void Door::SetActive(bool on)
{
    Pickable::SetActive(on);
    if (!on)
        return;
    mOpened = false;
    SwitchAnimation("idle", false);
    mTargets.clear();
    for (const std::string& name : mTargetNames)
        if (SceneObject* target = FindObject(name))
            mTargets.push_back(target);
}

void Door::SetOpen(bool open) { SwitchAnimation(open ? "open" : "close", false); }

void Door::OpenIfIdle()
{
    if (mType == kManual && GetAnimationName() == "idle")
        SetOpen(true);
}

void Door::Update()
{
    SceneObject::Update();
    if (mType != kManual || !mOpened || GetAnimationName() != "open")
        return;
    for (SceneObject* target : mTargets)
        if (target->IsVisible())
            return;
    SetOpen(false);
}

void Door::OnAnimationEnd(ObjectPart* part, const std::string& name)
{
    SceneObject::OnAnimationEnd(part, name);
    if (name == "open" && !mOpened) {
        mOpened = true;
        // Only walkers take the door as their pending target.
        for (SceneObject* target : mTargets) {
            if (Person* walker = ObjectAs<Person>(target)) {
                walker->SetPendingTarget(this);
                walker->Update();
            }
        }
    } else if (name == "close" && mOpened) {
        mOpened = false;
        SwitchAnimation("idle", false);
    }
}
