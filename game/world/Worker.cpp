#include "game/world/Worker.h"

#include "framework/app/Random.h"
#include "game/world/MiniBar.h"
#include "game/world/NamedObjects.h"
#include "game/world/ObjectPart.h"
#include "game/world/OfficeScreenInterface.h"
#include "game/world/OfficeSounds.h"
#include "game/world/OfficeWorld.h"
#include "game/world/PeriodItem.h"
#include "game/world/Person.h"
#include "game/world/SceneObjectList.h"

namespace {

const int32_t kRushFailure = 0;
const int32_t kRushSuccess = 1;
const size_t kMaxTransformWord = 259;

const LevelParams& Level() { return GetOfficeWorld().levelParams; }

std::string Narrow(const XmlNode& node, const wchar_t* name)
{
    std::string value;
    XmlGetAttrString(node, name, value);
    if (value.size() > kMaxTransformWord)
        value.resize(kMaxTransformWord);
    return value;
}

bool BeginsWith(const std::string& text, const std::string& prefix) { return text.compare(0, prefix.size(), prefix) == 0; }

} // namespace

Worker::Worker() : mWorld(&GetOfficeWorld()), mSnoreChannel(MakeOfficeChannel("worker_snore"))
{
    mListPosition = mWorld->workers.insert(mWorld->workers.end(), this);
    mState = kInactive;
}

Worker::~Worker()
{
    if (MiniBar* bar = ObjectAs<MiniBar>(gMiniBar))
        bar->ForgetWorker(this);
    mWorld->workers.erase(mListPosition);
}

Worker* FindWorkerByNamePrefix(const std::string& text)
{
    if (!HasOfficeWorld())
        return nullptr;
    Worker* best = nullptr;
    for (Worker* worker : GetOfficeWorld().workers) {
        const std::string& name = worker->GetName();
        if (BeginsWith(text, name) && (!best || name.size() > best->GetName().size()))
            best = worker;
    }
    return best;
}

std::string Worker::GetTableName() const
{
    const std::string& name = GetName();
    if (!BeginsWith(name, "worker"))
        return std::string();
    return "table" + name.substr(6);
}

SceneObject* Worker::FindTable() const
{
    const std::string table = GetTableName();
    return table.empty() ? nullptr : FindObject(table);
}

void Worker::SetTransform(const std::string& from, const std::string& to)
{
    mTransformFrom = from;
    mTransformTo = to;
}

bool Worker::CanTransform(const std::string& item) const
{
    if (item.empty() || mTransformFrom.empty())
        return false;
    if (item[0] == '0')
        return BeginsWith(item, mTransformFrom.substr(0, 2));
    return item == mTransformFrom;
}

bool Worker::IsWorkDone() const { return BeginsWith(GetItem(), mTransformTo.substr(0, 2)); }

void Worker::ProduceResult()
{
    const std::string& item = GetItem();
    const size_t zero = item.find('0');
    if (zero == std::string::npos) {
        SetItem(mTransformTo);
        return;
    }
    // The number two characters after the first "0", read only inside the
    // word (none there: 0).
    const size_t from = zero + 2;
    int n = 0;
    if (from < item.size())
        n = ParseDecimal(std::wstring(item.begin() + long(from), item.end()));
    SetItem(mTransformTo.substr(0, 2) + "0" + std::to_string(n));
}

void Worker::ScheduleBreak()
{
    const float low = mParams.worker_break_low;
    const float high = mParams.worker_break_high;
    mBreakTimer = low + float(Zelk::Rand()) / 32767.0f * (high - low) +
                  (HasOfficeWorld() ? Level().worker_break_intent_timeout : 0);
    if (mState == kWantsBreak)
        mState = kIdle;
}

bool Worker::IsBossIdleHere() const
{
    Person* boss = ObjectAs<Person>(gBoss);
    return boss && !boss->IsBusy() && boss->GetCurrentPoint() == GetTableName();
}

bool Worker::IsProtected() const
{
    Person* boss = ObjectAs<Person>(gBoss);
    if (boss && !boss->IsWalking() && boss->GetCurrentPoint() == GetTableName())
        return true;
    return mProtection > 0;
}

void Worker::ChangeStamina(float delta)
{
    if (delta < 0 && IsProtected()) {
        ScheduleBreak();
        return;
    }
    mStamina += delta;
    if (mStamina > 100.0f)
        mStamina = 100.0f;
    if (mStamina < 0) {
        mStamina = 0;
        if (mState != kAsleep)
            SetState(kAsleep);
    }
}

void Worker::PlayAnimRepeat(const std::string& name, int32_t count)
{
    if (name == mRepeatAnim)
        return;
    mRepeatAnim = name;
    mShownAnim = name;
    if (count > 0) {
        PlayAnimation(name);
        mRepeatCount = count;
    }
}

void Worker::SetState(int32_t state)
{
    if (state == kIdle) {
        if (mState == kOnBreak)
            EndBreak();
        else if (mState == kWantsBreak)
            ScheduleBreak();
    } else if (state == kWorking) {
        if (mTable)
            mTable->FireEvent("work_start");
        GetOfficeScreenInterface().SendTutorialEvent(6);
        mWorkProgress = 0;
        PlayOfficeSample("take_paper");
    } else if (state == kOnBreak) {
        MiniBar* bar = ObjectAs<MiniBar>(gMiniBar);
        if (!bar)
            return; // no mini bar: the worker keeps wanting its break
        bar->AddGuest(this);
        SetVisible(false);
    } else if (state == kAsleep) {
        mSnoreTimer = mParams.worker_disruption_start_timeout;
        mSnoring = false;
    }
    if (mState == kWorking && state != kWorking && mTable)
        mTable->FireEvent("work_stop");
    mState = state;
}

void Worker::EndBreak()
{
    SetVisible(true);
    ScheduleBreak();
    ChangeStamina(100.0f);
    mState = kIdle;
}

void Worker::WakeUp()
{
    if (mState != kAsleep)
        return;
    ChangeStamina(Level().boss_reproof_effect);
    SetState(IsWorkDone() ? kIdle : kWorking);
}

void Worker::Disrupt(int32_t state)
{
    if (state != kAsleep)
        return;
    const float effect = Level().disruption_effect;
    const std::list<Worker*> workers = mWorld->workers;
    for (Worker* other : workers) {
        if (other == this || !other->IsVisible() || other->mState == kAsleep)
            continue;
        other->PlayAnimRepeat("disruption_reaction", 1);
        other->ChangeStamina(-effect);
    }
}

void Worker::OnConference()
{
    ScheduleBreak();
    PlayAnimRepeat("conference_reaction", 1);
    ChangeStamina(mParams.worker_conference_effect);
    mProtection += Level().worker_conference_immortality;
    WakeUp();
}

void Worker::ApplyConferenceToAll()
{
    if (!HasOfficeWorld())
        return;
    const std::list<Worker*> workers = GetOfficeWorld().workers;
    for (Worker* worker : workers)
        if (worker->IsVisible())
            worker->OnConference();
}

void Worker::StartIdle()
{
    PlayAnimation("idle_usual");
    SetAnimChain("idle_usual", int32_t(mParams.idle_stop_frame), mParams.idle_rastart_time_min,
                 mParams.idle_rastart_time_max);
    StartAnimChain("idle_usual");
}

void Worker::ResetWork()
{
    mStamina = 100.0f;
    mWorkProgress = 0;
    mSnoreTimer = 0;
    mProtection = 0;
    mSnoring = false;
    mShownSelector = -1;
    mHovered = false;
    mShownAnim.clear();
    mRepeatAnim.clear();
    mRepeatCount = 0;
}

void Worker::SetActive(bool on)
{
    if (on == IsActive())
        return;
    SceneObject::SetActive(on);
    mProtection = 0;
    if (on) {
        auto& records = GetOfficeWorld().workerParams;
        auto found = records.find(GetSkin());
        if (found != records.end())
            mParams = found->second;
        mStamina = 100.0f;
        SetState(kIdle);
        mShownAnim.clear();
        mRepeatAnim.clear();
        mHovered = false;
        ScheduleBreak();
        StartIdle();
        SetItem("");
        SetVisibleFlag(true);
        mTable = FindTable();
        for (ObjectPart* part : GetParts())
            part->SetOpacity(1.0f);
    } else {
        ResetWork();
        mState = kIdle;
        ScheduleBreak();
        StartIdle();
        SetItem("");
        SetState(kInactive);
        SetVisibleFlag(false);
    }
}

void Worker::ApplyLevelState(const XmlNode& node)
{
    SceneObject::ApplyLevelState(node);
    mTransformFrom = Narrow(node, L"transform_from");
    mTransformTo = Narrow(node, L"transform_to");
}

void Worker::Update()
{
    SceneObject::Update();
    if (!IsActive() || !HasOfficeWorld())
        return;
    const float dt = gFrameDelta;
    const LevelParams& level = Level();
    if (mState == kIdle) {
        SceneObject* bar = gMiniBar;
        if (mParams.worker_break_low != 0 && mParams.worker_break_high != 0 && bar && bar->IsVisible() &&
            GetItem().empty()) {
            if (!IsBossIdleHere()) {
                mBreakTimer -= dt;
                if (mBreakTimer < level.worker_break_intent_timeout && mBreakTimer >= 0)
                    SetState(kWantsBreak);
            } else {
                ScheduleBreak();
            }
        }
        ChangeStamina(dt * mParams.worker_stamina_up_speed);
    } else if (mState == kWorking) {
        float workTime = mParams.worker_work_time_r;
        if (mStamina >= level.stamina_g_level)
            workTime = mParams.worker_work_time_g;
        else if (mStamina >= level.stamina_y_level)
            workTime = mParams.worker_work_time_y;
        // A work time of 0 or less (or not a number) finishes at once.
        if (workTime > 0)
            mWorkProgress += dt / workTime;
        else
            mWorkProgress = 1.0f;
        if (mWorkProgress >= 1.0f) {
            SetState(kIdle);
            ProduceResult();
            GetOfficeScreenInterface().SendTutorialEvent(7);
            PlayOfficeSample("worker_finish");
        }
        PeriodItem* conditioner = ObjectAs<PeriodItem>(gAirConditioner);
        const float m = conditioner && conditioner->IsVisible() && conditioner->IsReady()
                            ? level.air_conditioner_effect
                            : 1.0f;
        ChangeStamina(-dt * mParams.worker_stamina_down_speed * m);
    } else if (mState == kWantsBreak) {
        if (!IsBossIdleHere()) {
            mBreakTimer -= dt;
            if (mBreakTimer < 0)
                SetState(kOnBreak);
        }
    } else if (mState == kAsleep) {
        if (mParams.worker_disruption_timeout > 0 && mParams.worker_disruption_start_timeout > 0) {
            mSnoreTimer -= dt;
            if (mSnoreTimer < 0) {
                PlayChannel(mSnoreChannel);
                mSnoreTimer = mParams.worker_disruption_timeout;
                mSnoring = true;
                Disrupt(kAsleep);
                PlayAnimRepeat("disruptive_action", 1);
            } else if (mSnoreTimer < mParams.worker_disruption_timeout - level.worker_showtime_zzz) {
                mSnoring = false;
            }
        }
    }
    if (mRepeatAnim.empty()) {
        std::string name;
        int32_t selector = -1;
        int32_t stopFrame = -1;
        if (mState == kIdle && IsWorkDone()) {
            name = "idle_done";
            selector = 1;
            stopFrame = int32_t(mParams.worker_done_break_frame);
        } else if (mState == kIdle) {
            name = "idle_usual";
            selector = 0;
        } else if (mState == kWorking) {
            name = "work_action";
        } else if (mState == kAsleep) {
            name = "idle_distracted";
        }
        if (name != mShownAnim || selector != mShownSelector) {
            mShownAnim = name;
            mShownSelector = selector;
            PlayAnimation(name);
            if (stopFrame >= 0)
                StopPartsAtFrame(stopFrame);
        }
    }
    if (mProtection > 0) {
        mProtection -= gFrameDelta;
        if (mProtection < 0)
            mProtection = 0;
    }
}

void Worker::TakeMoney()
{
    PlayOfficeSample("boss_give_money");
    ChangeStamina(mParams.worker_bonus_effect);
    PlayAnimRepeat("attention", 1);
    mProtection += Level().worker_money_immortality;
}

bool Worker::Interact(SceneObject* other, bool test, int* word)
{
    if (!other || !IsActive() || !HasOfficeWorld())
        return false;
    if (test) {
        SetPartnerItem(other->GetItem());
        if (word)
            *word = mState;
    }
    const std::string bossItem = GetPartnerItem();
    auto rush = [&](int32_t kind) { GetOfficeScreenInterface().AdvanceRushBonus(kind, this); };
    auto refuse = [&]() {
        rush(kRushFailure);
        return false;
    };
    switch (mState) {
    case kIdle:
        if (CanTransform(bossItem)) {
            if (!test) {
                SetItem(bossItem);
                SetState(kWorking);
                rush(kRushSuccess);
            }
            return true;
        }
        if (bossItem == "money") {
            if (!test) {
                TakeMoney();
                rush(kRushFailure);
            }
            return true;
        }
        if (!bossItem.empty())
            return refuse();
        if (!GetItem().empty()) {
            if (!test) {
                SetItem("");
                PlayOfficeSample("take_paper");
                if (mShownAnim == "idle_done") {
                    PlayAnimRepeat("idle_done", 1);
                    SetPartsPaused(false);
                } else {
                    PlayAnimRepeat("idle_usual", 1);
                }
                rush(kRushSuccess);
            }
            return true;
        }
        if (!test)
            rush(kRushFailure);
        return true;
    case kWorking:
        if (bossItem != "money")
            return refuse();
        if (!test) {
            TakeMoney();
            rush(kRushFailure);
        }
        return true;
    case kWantsBreak:
        if (!test) {
            SetState(kIdle);
            rush(kRushFailure);
        }
        return true;
    case kOnBreak:
        if (!IsWorkDone())
            return refuse();
        if (!test) {
            SetItem("");
            rush(kRushFailure);
        }
        return true;
    case kAsleep:
        if (!test) {
            StopChannel(mSnoreChannel);
            WakeUp();
            rush(kRushFailure);
        }
        return true;
    default:
        return refuse();
    }
}

void Worker::OnMouseMove(const Zelk::Point&, bool hit)
{
    if (hit != mHovered && hit && mState == kIdle && !IsWorkDone())
        PlayAnimRepeat("attention", 1);
    mHovered = hit;
}

void Worker::OnAnimationEnd(ObjectPart* part, const std::string& name)
{
    SceneObject::OnAnimationEnd(part, name);
    if (!part || part->GetPartName() != "worker_up" || name != mRepeatAnim)
        return;
    --mRepeatCount;
    if (mRepeatCount >= 1)
        PlayAnimation(name);
    else
        mRepeatAnim.clear();
}

bool Worker::IsStatusShown() const
{
    switch (mState) {
    case kIdle:
        return !GetItem().empty();
    case kWantsBreak:
    case kAsleep:
        return true;
    case kOnBreak:
        return !IsVisible();
    default:
        return false;
    }
}

bool Worker::GetMeterValue(float* value) const
{
    if (!IsActive())
        return false;
    if (mState == kOnBreak) {
        const float duration = HasOfficeWorld() ? Level().worker_break_duration_timeout : 0;
        *value = duration > 0 ? mTimeOnBreak / duration : 0;
        return false;
    }
    *value = mStamina;
    return true;
}

bool Worker::GetBubbleContent(bool*, std::string* word) const
{
    switch (mState) {
    case kOnBreak:
        *word = "timer";
        return true;
    case kWantsBreak:
        *word = "coffee";
        return true;
    case kAsleep:
        *word = mSnoring ? "snore" : "sleep";
        return true;
    default:
        *word = GetItem();
        return IsWorkDone();
    }
}

bool Worker::GetProduct(std::string* product) const
{
    *product = mTransformTo;
    return true;
}
