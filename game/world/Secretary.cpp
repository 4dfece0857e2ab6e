#include "game/world/Secretary.h"

#include "game/world/Client.h"
#include "game/world/OfficeWorld.h"
#include "game/world/PeriodItem.h"
#include "game/world/Pickable.h"
#include "game/world/SceneObjectList.h"

namespace {

const char* const kCup = "coffe_cup";

bool IsClientTarget(const SceneObject* target) { return target && target->NameStartsWith("client"); }

} // namespace

Secretary::Secretary()
{
    SetReturnHome(true);
    SetHideAtHome(false);
}

float Secretary::GetMoveSpeed() { return HasOfficeWorld() ? GetOfficeWorld().levelParams.secretary_move_speed : 0; }

void Secretary::SetActive(bool on)
{
    Person::SetActive(on);
    if (!on)
        return;
    BindPersParams("secretary");
    SetOrientation("", false);
    SwitchAnimation("secretary_idle", true);
    mLookState = kIdle;
}

Pickable* Secretary::SetPendingTarget(Pickable* target)
{
    if (!target)
        SetReturnHome(true);
    return Person::SetPendingTarget(target);
}

void Secretary::EnqueueTarget(Pickable* target)
{
    if (!IsWalking() && GetCurrentPoint() == "coffeemachine" && IsClientTarget(target)) {
        SceneObject* machine = FindObject("coffeemachine");
        if (machine) {
            SetItem(machine->GetItem());
            if (PeriodItem* item = ObjectAs<PeriodItem>(machine))
                item->SetReady(false);
        }
    }
    Person::EnqueueTarget(target);
}

void Secretary::OnScheduledEvent(int code)
{
    if (code == kPresentationOver)
        GivePresentationToClients();
}

bool Secretary::Interact(SceneObject* other, bool test, int*)
{
    if (!other)
        return false;
    const std::string& name = other->GetName();
    if (name == "coffeemachine") {
        if (test && IsClientTarget(GetNextTarget()))
            return true;
        if (!test)
            SetItem(other->GetItem());
        SetReturnHome(false);
        return false;
    }
    if (name == "presentation_place") {
        if (!test)
            ScheduleEvent(HasOfficeWorld() ? GetOfficeWorld().levelParams.presentation_timeout : 0,
                          kPresentationOver);
        return true;
    }
    if (other->NameStartsWith("client")) {
        if (!test && GetItem() == kCup)
            SetItem("");
        return true;
    }
    return false;
}

void Secretary::ShowLook(const char* orientation, const char* animation, int32_t state)
{
    SetOrientation(orientation, false);
    SwitchAnimation(animation, true);
    mLookState = state;
}

void Secretary::Update()
{
    Person::Update();
    const bool walking = IsWalking();
    const bool cup = GetItem() == kCup;
    const bool presenting = HasScheduledEvent();
    // Both rows of the state at the start are tested; the second one's
    // change stays when both hold.
    switch (mLookState) {
    case kIdle:
        if (presenting)
            ShowLook("", "secretary_presentation", kPresenting);
        else if (walking)
            ShowLook("tr", "secretary_move_empty", kWalkingEmpty);
        break;
    case kWalkingEmpty:
        if (cup)
            ShowLook("tr", "secretary_move_full", kWalkingWithCup);
        else if (!walking)
            ShowLook("", "secretary_idle", kIdle);
        break;
    case kWalkingWithCup:
        if (!cup)
            ShowLook("tr", "secretary_move_empty", kWalkingEmpty);
        else if (!walking)
            ShowLook("", "secretary_idle", kIdle);
        break;
    case kPresenting:
        if (!presenting)
            ShowLook("", "secretary_idle", kIdle);
        break;
    default:
        break;
    }
}
