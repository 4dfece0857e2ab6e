#include "game/world/StatusHp.h"

#include "game/world/ObjectPart.h"
#include "game/world/OfficeWorld.h"
#include "game/world/Phone.h"
#include "game/world/SaturatedInt.h"
#include "game/world/StatusSource.h"
#include "game/world/Worker.h"

#include <cmath>

StatusHp::StatusHp() { SetVisibleFlag(false); }

void StatusHp::Load(const XmlNode& node)
{
    SceneObject::Load(node);
    mSource = FindStatusSource(GetName(), &mSourceObject);
    mPhone = ObjectAs<Phone>(mSourceObject) != nullptr;
    if (mSourceObject) {
        const Zelk::Point position = mSourceObject->GetPosition();
        SetPosition(position.mX, position.mY);
        const LevelParams& level = GetOfficeWorld().levelParams;
        const bool worker = ObjectAs<Worker>(mSourceObject) != nullptr;
        mGreen = TruncateToInt32(worker ? level.stamina_g_level : level.patience_g_level);
        mYellow = TruncateToInt32(worker ? level.stamina_y_level : level.patience_y_level);
        mRed = TruncateToInt32(worker ? level.stamina_r_level : level.patience_r_level);
    }
    mBar = FindPart("status_hp", 0);
    mBack = FindPart("status_hp_back", 0);
    if (mBar) {
        ObjectPart::RepeatBlock& repeat = mBar->GetRepeatBlock();
        repeat.count = 10;
        repeat.stepX = 0;
        repeat.stepY = -6;
        repeat.tint = 0xFF00FF00;
    }
}

void StatusHp::SetActive(bool on)
{
    SceneObject::SetActive(on);
    if (on)
        mLast = 100.0f;
    else
        FireEvent("off_blink_hp");
    SetVisible(on);
}

int32_t StatusHp::SegmentsFor(float value) const
{
    if (mPhone) {
        const float x = value / 20.0f;
        return TruncateToInt32(x - std::floor(x) > 0.5f ? std::ceil(x) : std::floor(x));
    }
    return TruncateToInt32(std::ceil(value / 10.0f));
}

uint32_t StatusHp::TintFor(float value) const
{
    Worker* worker = ObjectAs<Worker>(mSourceObject);
    if (worker && worker->IsProtected())
        return kProtectedTint;
    if (value < float(mYellow))
        return kRedTint;
    if (value < float(mGreen))
        return kYellowTint;
    return kGreenTint;
}

void StatusHp::Update()
{
    SceneObject::Update();
    // A meter bound to nothing stays hidden.
    if (!mSource)
        return;
    float value = 0;
    const bool shown = mSource->GetMeterValue(&value);
    if (shown != IsActive())
        SetActive(shown);
    if (!shown)
        return;
    if (mBack) {
        mBack->PlayAnimation("idle", false);
        mBack->LoadImages();
    }
    if (mBar) {
        ObjectPart::RepeatBlock& repeat = mBar->GetRepeatBlock();
        repeat.count = SegmentsFor(value);
        mBar->LoadImages();
        mBar->PlayAnimation("point", false);
        repeat.tint = TintFor(value);
    }
    const float red = float(mRed);
    if (red < mLast && value <= red)
        FireEvent("on_blink_hp");
    else if (red >= mLast && value > red)
        FireEvent("off_blink_hp");
    mLast = value;
}
