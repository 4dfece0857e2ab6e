#include "game/world/PeriodItem.h"

#include "framework/app/Random.h"
#include "game/world/HoverLook.h"
#include "game/world/ObjectPart.h"
#include "game/world/OfficeSounds.h"
#include "game/world/OfficeWorld.h"

namespace {

bool IsWalkerName(const std::string& name) { return name == "boss" || name == "secretary" || name == "engineer"; }

} // namespace

void PeriodItem::Load(const XmlNode& node)
{
    SceneObject::Load(node);
    XmlGetAttrString(node, L"thing", mThing);
    LevelParams& level = GetOfficeWorld().levelParams;
    struct Row {
        const char* name;
        const float* min;
        const float* max;
        const char* signal;
    } const rows[] = {
        {"safe", &level.safe_reload_timeout, &level.safe_reload_timeout, nullptr},
        {"coffeemachine", &level.coffeemachine_reload_timeout, &level.coffeemachine_reload_timeout, nullptr},
        {"conference_place", &level.conference_reload_timeout, &level.conference_reload_timeout, nullptr},
        {"cupboard", &level.cupboatd_reload_timeout, &level.cupboatd_reload_timeout, nullptr},
        {"presentation_place", &level.presentation_reload_timeout, &level.presentation_reload_timeout, nullptr},
        {"air_conditioner", &level.air_conditioner_timeout_min, &level.air_conditioner_timeout_max,
         "air_conditioner_signal"},
        {"stereo_system", &level.air_conditioner_timeout_min, &level.air_conditioner_timeout_max,
         "stereo_system_signal"},
    };
    for (const Row& row : rows) {
        if (GetName() != row.name)
            continue;
        mReloadMin = row.min;
        mReloadMax = row.max;
        mSignal = row.signal ? FindPart(row.signal, 0) : nullptr;
    }
}

void PeriodItem::DrawReloadTime()
{
    if (!mReloadMin || !mReloadMax) {
        mReloadTime = 0;
        return;
    }
    mReloadTime = *mReloadMin + (*mReloadMax - *mReloadMin) * float(Zelk::Rand()) / 32767.0f;
}

void PeriodItem::ShowReady()
{
    PlayAnimation("ready");
    if (mSignal) {
        mSignal->SetShownFlag(true);
        mSignal->LoadImages();
    }
}

void PeriodItem::SetReady(bool ready)
{
    mReady = ready;
    mElapsed = 0;
    mHovered = false;
    DrawReloadTime();
    if (ready) {
        if (GetName() == "coffeemachine")
            PlayOfficeSample("coffeemashine");
        else if (GetName() == "air_conditioner")
            PlayOfficeSample("conditioner_broke");
        if (!PlayAnimation("activation"))
            ShowReady();
    } else {
        PlayAnimation("idle");
    }
}

void PeriodItem::SetActive(bool on)
{
    if (on) {
        SetItem(mThing);
        SetReady(false);
    } else {
        SetReady(false);
        mElapsed = 0;
        ReleasePartImages();
    }
    Pickable::SetActive(on);
    if (mSignal)
        mSignal->SetShownFlag(false);
}

void PeriodItem::Update()
{
    SceneObject::Update();
    if (!IsActive() || !IsVisible() || mReady || !mReloadMin || !mReloadMax)
        return;
    mElapsed += gFrameDelta;
    if (mElapsed >= mReloadTime)
        SetReady(true);
}

bool PeriodItem::Interact(SceneObject* other, bool test, int*)
{
    if (!other || !IsWalkerName(other->GetName()) || !mReady)
        return false;
    if (!GetItem().empty() && other->GetItem() == GetItem())
        return false;
    if (test)
        return true;
    SetReady(false);
    if (mSignal)
        mSignal->SetShownFlag(false);
    return false;
}

void PeriodItem::OnAnimationEnd(ObjectPart*, const std::string& name)
{
    if (name == "activation")
        ShowReady();
}

void PeriodItem::OnMouseMove(const Zelk::Point&, bool hit) { UpdateHoverLook(*this, mHovered, hit, "ready"); }
