#include "game/world/Engineer.h"

#include "game/world/OfficeWorld.h"

Engineer::Engineer()
{
    SetReturnHome(true);
    SetHideAtHome(true);
}

float Engineer::GetMoveSpeed() { return HasOfficeWorld() ? GetOfficeWorld().levelParams.engineer_move_speed : 0; }

void Engineer::OnScheduledEvent(int code)
{
    if (code == kRepairOver)
        PlayAnimation("engineer_idle");
}

bool Engineer::Interact(SceneObject* other, bool test, int*)
{
    if (!other || (other->GetName() != "stereo_system" && other->GetName() != "air_conditioner"))
        return false;
    if (!test) {
        ScheduleEvent(kRepairSeconds, kRepairOver);
        PlayAnimation("engineer_repair");
    }
    return true;
}

void Engineer::Update()
{
    Person::Update();
    if (!IsVisible())
        return;
    if (IsWalking()) {
        if (GetAnimationName() != "engineer_move")
            PlayAnimation("engineer_move");
    } else if (!HasScheduledEvent() || HasPendingTarget()) {
        SetOrientation("b", false);
        if (GetAnimationName() != "engineer_idle")
            PlayAnimation("engineer_idle");
    }
}
