#include "game/world/Boss.h"

#include "game/core/GameApp.h"
#include "game/world/NamedObjects.h"
#include "game/world/ObjectPart.h"
#include "game/world/OfficeScreenInterface.h"
#include "game/world/OfficeSounds.h"
#include "game/world/OfficeWorld.h"
#include "game/world/Phone.h"
#include "game/world/Worker.h"

namespace {

const int32_t kRushFailure = 0;
const int32_t kRushSuccess = 1;

void Rush(int32_t kind, SceneObject* target) { GetOfficeScreenInterface().AdvanceRushBonus(kind, target); }

} // namespace

Boss::Boss()
    : mConferenceChannel(MakeOfficeChannel("boss_conference")), mStepsChannel(MakeOfficeChannel("boss_steps"))
{
}

Boss::~Boss() = default;

float Boss::GetMoveSpeed()
{
    if (!HasOfficeWorld())
        return 0;
    const LevelParams& params = GetOfficeWorld().levelParams;
    if (mSpeedBoost > 0)
        return params.boss_move_speed * params.boss_move_speed_mod;
    return params.boss_move_speed;
}

void Boss::StartSpeedBoost()
{
    mSpeedBoost = HasOfficeWorld() ? GetOfficeWorld().levelParams.boss_move_speed_mod_timeout : 0;
}

void Boss::ShowIdle()
{
    if (GetOrientWord() != "b")
        SetOrientation("b", false);
    PlayAnimation(GetItem().empty() ? "boss_idle_empty" : "boss_idle_full");
}

void Boss::FaceLastMove() { SetOrientation(GetFacing(), false); }

void Boss::SetActive(bool on)
{
    if (on)
        PlayAnimation("boss_idle_empty");
    else
        mSpeedBoost = -1.0f;
    Person::SetActive(on);
}

void Boss::Reset()
{
    SceneObject::Reset();
    StopChannel(mStepsChannel);
    SetItem("");
}

void Boss::ApplyLevelState(const XmlNode& node)
{
    SceneObject::ApplyLevelState(node);
    GameApp* app = GetGameApp();
    const std::string skin = app ? app->GetCurrentProfile()->mFigure : std::string();
    SetSkin(skin, false);
    BindPersParams("boss:" + skin);
    mSpeedBoost = -1.0f;
    mLastWalking = false;
    const PersParams& pers = GetPersParams();
    for (const char* idle : {"boss_idle_empty", "boss_idle_full"})
        SetAnimChain(idle, pers.idle_stop_frame, pers.idle_rastart_time_min, pers.idle_rastart_time_max);
    PlayAnimation("");
}

void Boss::Update()
{
    Person::Update();
    UpdateHeldItems();
    mSpeedBoost -= gFrameDelta;
    if (HasScheduledEvent())
        return;
    const bool walking = IsWalking();
    if (walking == mLastWalking)
        return;
    mLastWalking = walking;
    if (!walking)
        return;
    PlayChannel(mStepsChannel);
    const char* look = GetItem().empty() ? "boss_move_empty" : "boss_move_full";
    PlayAnimation(look);
    SwitchAnimation(look, false);
}

void Boss::ActFor(const std::string& animation, int32_t code)
{
    float length = 0;
    PlayAnimation(animation, &length);
    ScheduleEvent(length, code);
    mLastWalking = false;
}

void Boss::Reproach()
{
    FaceLastMove();
    float length = 0;
    PlayAnimation("boss_reproach", &length);
    PlayOfficeSample("wake_up");
    ScheduleEvent(length, kActionOver);
    mLastWalking = false;
}

bool Boss::Interact(SceneObject* other, bool test, int* word)
{
    if (!other)
        return false;
    other = other->FindLinkedObject();
    if (test)
        SetPartnerItem(other->GetItem());
    const std::string partner = GetPartnerItem();
    const int32_t answer = word ? *word : 0;
    const bool emptyHanded = GetItem().empty();
    const std::string& name = other->GetName();

    if (other->NameStartsWith("shelving")) {
        if (!emptyHanded) {
            Rush(kRushFailure, other);
            return false;
        }
        if (!test) {
            SetItem(partner);
            ShowIdle();
            GetOfficeScreenInterface().SendTutorialEvent(5);
            Rush(kRushSuccess, other);
        }
        return true;
    }
    if (other->NameStartsWith("worker")) {
        if (answer == Worker::kWantsBreak) {
            if (!test)
                Reproach();
            return true;
        }
        if (GetItem() == "money") {
            if (answer == Worker::kIdle || answer == Worker::kWorking) {
                if (!test) {
                    SetItem("");
                    ShowIdle();
                }
                return true;
            }
            if (answer == Worker::kAsleep) {
                if (!test)
                    Reproach();
                return true;
            }
            return false;
        }
        if (!test) {
            if (answer == Worker::kAsleep) {
                Reproach();
            } else {
                SetItem(partner);
                ShowIdle();
            }
        }
        return true;
    }
    if (name == "phone") {
        Phone* phone = ObjectAs<Phone>(gPhone);
        if (!phone || !phone->IsRinging()) {
            Rush(kRushFailure, other);
            return false;
        }
        if (!test) {
            FaceLastMove();
            ActFor("boss_phone", kPhoneOver);
            phone->Answer();
            Rush(kRushSuccess, other);
        }
        return true;
    }
    if (name == "trash_bin") {
        if (!test) {
            SetItem("");
            ShowIdle();
        }
        Rush(kRushFailure, other);
        return true;
    }
    if (other->NameStartsWith("client")) {
        if (!test && answer != 0) {
            SetItem("");
            ShowIdle();
        }
        return true;
    }
    if (name == "safe") {
        Rush(kRushFailure, other);
        if (!emptyHanded)
            return false;
        if (!test) {
            PlayOfficeSample("boss_take_money");
            SetItem(gSafe ? gSafe->GetItem() : std::string());
            ShowIdle();
        }
        return true;
    }
    if (name == "conference_place") {
        if (!test) {
            FaceLastMove();
            ScheduleEvent(HasOfficeWorld() ? GetOfficeWorld().levelParams.boss_conference_timeout : 0,
                          kConferenceOver);
            mLastWalking = false;
            PlayChannel(mConferenceChannel);
            PlayAnimation("boss_conference");
        }
        Rush(kRushFailure, other);
        return true;
    }
    if (name == "cupboard") {
        if (!test) {
            FaceLastMove();
            ActFor("boss_drink", kActionOver);
        }
        Rush(kRushFailure, other);
        return true;
    }
    return false;
}

void Boss::OnScheduledEvent(int code)
{
    switch (code) {
    case kConferenceOver:
        StopChannel(mConferenceChannel);
        Worker::ApplyConferenceToAll();
        mLastWalking = false;
        [[fallthrough]];
    case kWalkEnded:
        StopChannel(mStepsChannel);
        ShowIdle();
        break;
    case kPhoneOver:
        ShowIdle();
        if (Phone* phone = ObjectAs<Phone>(gPhone)) {
            phone->EndCall();
            phone->ClearCaller();
        }
        break;
    default:
        break;
    }
}

void Boss::OnAnimationEnd(ObjectPart* part, const std::string& name)
{
    SceneObject::OnAnimationEnd(part, name);
    if (!part || part->GetPartName() != "boss")
        return;
    if (name == "boss_drink")
        StartSpeedBoost();
    if (name == "boss_reproach" || name == "boss_drink")
        ShowIdle();
}
