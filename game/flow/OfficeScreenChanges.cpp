// The office screen's changes to office objects (at once, or with a blink
// from the old look to the new) and the survival upgrades: the HUD's upgrade
// button offers the first pending upgrade's options and applies the chosen
// one.
#include "game/flow/HudPanel.h"
#include "game/flow/OfficeScreen.h"
#include "game/flow/UpgradeDialog.h"
#include "game/world/SceneObject.h"

#include <algorithm>
#include <cmath>

namespace {

// The objects of the name, in creation order (taken before any is changed).
std::vector<SceneObject*> ObjectsNamed(const std::list<SceneObject*>& objects, const std::string& name)
{
    std::vector<SceneObject*> named;
    for (SceneObject* object : objects)
        if (object->GetName() == name)
            named.push_back(object);
    return named;
}

// The look of a blink: the skin with the current animation played again, or,
// for an object blinking in from nothing, its visible flag.
void ShowLook(const ObjectBlink& blink, bool newLook)
{
    SceneObject* object = blink.object;
    if (blink.oldSkin == "none") {
        object->SetVisibleFlag(newLook);
        return;
    }
    const std::string animation = object->GetAnimationName();
    object->SetSkin(newLook ? blink.newSkin : blink.oldSkin, false);
    object->PlayAnimation(animation);
}

} // namespace

void OfficeScreen::ApplyStageObjects(const StageObject& change)
{
    mAppliedChanges.push_back(change);
    for (SceneObject* object : ObjectsNamed(mWorld.sceneObjects, change.name)) {
        if (!change.skin.empty())
            object->SetSkin(change.skin, false);
        if (!change.anim.empty()) {
            object->PlayAnimation(change.anim);
            object->SwitchAnimation(change.anim, false);
        }
        object->SetVisibleFlag(true);
        object->SetActiveFlag(true);
        object->SetActive(false);
        object->SetActive(true);
        object->SetActiveFlag(false);
        // The object's effect brings it in (and makes it active).
        object->FireEvent("add_object");
    }
}

void OfficeScreen::ChangeObjects(const StageObject& change)
{
    for (SceneObject* object : ObjectsNamed(mWorld.sceneObjects, change.name)) {
        if (!object->IsVisible()) {
            object->SetSkin(change.skin, false);
            continue;
        }
        ObjectBlink blink;
        blink.object = object;
        blink.oldSkin = object->GetSkin();
        blink.newSkin = change.skin;
        if (blink.oldSkin == "none") {
            object->SetSkin(change.skin, true);
            if (!change.anim.empty())
                object->PlayAnimation(change.anim);
        }
        mBlinkChanges.push_back(blink);
    }
}

void OfficeScreen::UpdateObjectBlinks(float dt)
{
    for (auto it = mBlinkChanges.begin(); it != mBlinkChanges.end();) {
        ObjectBlink& blink = *it;
        blink.timer -= dt / 2;
        if (blink.timer < 0) {
            ShowLook(blink, true);
            blink.object->SetActive(true);
            it = mBlinkChanges.erase(it);
            continue;
        }
        const float phase = (1 - blink.timer) * 10;
        ShowLook(blink, phase - std::floor(phase) >= 0.5f);
        ++it;
    }
}

void OfficeScreen::ApplyUpgrade()
{
    ++mUpgradeRequests;
    if (mPendingUpgrades.empty())
        return;
    const int32_t kind = mPendingUpgrades.front();
    std::vector<UpgradeOption>& options = kind == 0 ? mSurvivalModel.upgradeAdd : mSurvivalModel.upgradeSkin;
    if (!options.empty()) {
        std::string names[UpgradeDialog::kOptions];
        for (size_t k = 0; k < options.size() && k < UpgradeDialog::kOptions; ++k)
            names[k] = options[k].name;
        mDayRunning = false;
        const std::string chosen = mUpgradeDialog->Choose(names[0], names[1], names[2]);
        mDayRunning = true;
        // Unanswered: nothing applied, the upgrade stays pending.
        if (chosen.empty())
            return;
        auto found = std::find_if(options.begin(), options.end(),
                                  [&](const UpgradeOption& option) { return option.name == chosen; });
        if (found != options.end()) {
            const std::vector<StageObject> objects = found->objects;
            options.erase(found);
            for (const StageObject& object : objects) {
                if (kind == 0)
                    ApplyStageObjects(object);
                else
                    ChangeObjects(object);
            }
        }
    }
    if (!mPendingUpgrades.empty())
        mPendingUpgrades.erase(mPendingUpgrades.begin());
    if (mPendingUpgrades.empty() && mHud)
        mHud->SetUpgradeDisabled(true);
}
