#include "game/world/Client.h"

#include "game/world/ItemBonus.h"
#include "game/world/NamedObjects.h"
#include "game/world/ObjectPart.h"
#include "game/world/OfficeScreenInterface.h"
#include "game/world/OfficeSounds.h"
#include "game/world/OfficeWorld.h"
#include "game/world/PeriodItem.h"
#include "game/world/Phone.h"
#include "game/world/SaturatedInt.h"

#include <cstdlib>

const char* const Client::kAnimNames[kAnimCount] = {
    "idle_green",   "idle_yellow", "idle_red",        "idle_thinking",   "presentation_reaction",
    "drink_coffee", "patience_content", "patience_angry", "gratitude", "scandal"};

namespace {

const int32_t kRushFailure = 0;
const int32_t kRushSuccess = 1;

const LevelParams& Level() { return GetOfficeWorld().levelParams; }

} // namespace

Client::~Client()
{
    if (Phone* phone = ObjectAs<Phone>(gPhone))
        if (phone->GetCaller() == this)
            phone->ClearCaller();
    ForgetClient(this);
}

int Client::PlaceIndexOf(const std::string& name)
{
    const size_t zero = name.find('0');
    if (zero == std::string::npos)
        return -1;
    return std::atoi(name.c_str() + zero) - 1;
}

void Client::Load(const XmlNode& node)
{
    SceneObject::Load(node);
    RegisterClient(this, PlaceIndexOf(GetName()));
}

void Client::Reset()
{
    SceneObject::Reset();
    mState = kNeverSpawned;
}

void Client::ApplyLevelState(const XmlNode& node)
{
    Pickable::ApplyLevelState(node);
    SetVisibleFlag(false);
    SetActive(false);
    mState = kPlaceFree;
    PlayAnimation("");
}

void Client::SetActive(bool on)
{
    if (on == IsActive())
        return;
    mAnimLocked = false;
    if (on) {
        mHovered = false;
    } else {
        SetVisible(false);
        mParams = nullptr;
        mState = kPlaceFree;
        SetItem("");
    }
    Pickable::SetActive(on);
}

void Client::Spawn(const std::string& type, bool vip, const std::vector<std::string>& orders)
{
    auto found = GetOfficeWorld().clientParams.find(type);
    if (found == GetOfficeWorld().clientParams.end())
        return;
    SetActive(true);
    mTypeName = type;
    mParams = &found->second;
    mVip = vip;
    mState = vip ? kVipCalling : kJustArrived;
    mTimer = 0;
    mPatience = 100.0f;
    mAnimLocked = false;
    mCurrentAnim = -1;
    mOrders = orders;
    mOrderIndex = -1;
    mScandalShown = false;
    mScandalTimer = mParams->client_scandal_timeout;
    // Each visit has its own service time.
    mWaitedTime = 0;
    if (vip) {
        if (Phone* phone = ObjectAs<Phone>(gPhone))
            phone->StartRing(this);
    } else {
        StartLook();
        SetVisible(true);
        PlayOfficeSample("client_spawn");
    }
}

void Client::SetAnim(int32_t index, bool lock, bool force)
{
    if (index < 0 || index >= kAnimCount || index == mCurrentAnim)
        return;
    if (mAnimLocked && !force)
        return;
    PlayAnimation(kAnimNames[index]);
    mCurrentAnim = index;
    mAnimLocked = lock;
}

void Client::ShowIdleByPatience()
{
    const LevelParams& level = Level();
    if (mPatience > level.patience_g_level)
        SetAnim(kIdleGreen, false, false);
    else if (mPatience > level.patience_y_level)
        SetAnim(kIdleYellow, false, false);
    else
        SetAnim(kIdleRed, false, false);
}

bool Client::StartLook()
{
    SetSkin(mTypeName, false);
    ShowIdleByPatience();
    return true;
}

void Client::ChangePatience(float delta)
{
    if (!GetOfficeScreenInterface().IsTutorialActionAllowed(1))
        return;
    mPatience += delta;
    if (mPatience > 100.0f)
        mPatience = 100.0f;
    if (mPatience < 0)
        mPatience = 0;
}

void Client::Pay(float amount)
{
    const int32_t money = TruncateToInt32(amount);
    if (ItemBonus* bonus = ObjectAs<ItemBonus>(gBonus))
        bonus->ShowPopup(1, this, money, std::wstring());
    GetOfficeScreenInterface().AddDayMoney(money);
}

bool Client::NextOrder()
{
    ++mOrderIndex;
    if (mOrderIndex >= 0 && size_t(mOrderIndex) < mOrders.size()) {
        SetItem(mOrders[size_t(mOrderIndex)]);
        return true;
    }
    return false;
}

void Client::EndVipRing()
{
    if (mState != kVipCalling)
        return;
    mState = kJustArrived;
    StartLook();
    SetVisible(true);
}

void Client::OnPresentation()
{
    if (!IsActive() || !mParams)
        return;
    ChangePatience(mParams->client_presentation_effect);
    mAnimLocked = false;
    SetAnim(kPresentationReaction, true, false);
    PlayOfficeSample("hp_up_presentation");
}

void Client::SpreadScandal(float delta)
{
    const LevelParams& level = Level();
    for (Client* other : GetOfficeWorld().clientSlots) {
        if (!other || other == this || !other->IsActive() || other->mState == kVipCalling)
            continue;
        other->ChangePatience(delta);
        other->SetAnim(other->mPatience < level.patience_r_level ? kPatienceAngry : kPatienceContent, true, true);
    }
}

void Client::Update()
{
    SceneObject::Update();
    // A client switched on without being brought in has nothing to do.
    if (!IsActive() || !mParams || !HasOfficeWorld())
        return;
    const ClientParams& params = *mParams;
    const LevelParams& level = Level();
    OfficeScreenInterface& screen = GetOfficeScreenInterface();
    switch (mState) {
    case kJustArrived:
        mState = kWaitingForBoss;
        break;
    case kDeciding:
        SetAnim(kIdleThinking, false, false);
        mTimer += gFrameDelta;
        if (mTimer >= params.client_decision_timeout) {
            PlayOfficeSample("client_ready");
            NextOrder();
            mState = kOrdered;
            screen.SendTutorialEvent(mOrders.size() < 2 ? 4 : 9);
            SetAnim(kGratitude, true, true);
        }
        break;
    case kOrdered:
        mState = kWaitingForOrder;
        break;
    case kWaitingForOrder:
        mWaitedTime += gFrameDelta;
        break;
    case kServed:
        mState = kPaying;
        break;
    case kPaying:
        if (mPatience < level.patience_y_level)
            Pay(params.client_money_r);
        else if (mPatience < level.patience_g_level)
            Pay(params.client_money_y);
        else
            Pay(params.client_money_g);
        if (NextOrder()) {
            mState = kOrdered;
        } else {
            PlayOfficeSample("client_positiv");
            mState = kLeaving;
        }
        break;
    case kLeaving:
        SetActive(false);
        return;
    case kVipCalling:
        mTimer += gFrameDelta;
        if (mTimer >= level.ring_timeout) {
            Pay(-level.ring_losses_money);
            if (Phone* phone = ObjectAs<Phone>(gPhone)) {
                phone->Answer();
                phone->ClearCaller();
            }
            mState = kLeaving;
            screen.LoseDayLife();
        }
        return;
    default:
        break;
    }
    if (mState != kWaitingForBoss && mState != kWaitingForOrder)
        return;
    ShowIdleByPatience();
    float delta = -gFrameDelta * params.client_patience_speed;
    PeriodItem* stereo = ObjectAs<PeriodItem>(gStereoSystem);
    if (stereo && stereo->IsVisible() && !stereo->IsReady())
        delta *= level.stereo_system_effect;
    const float before = mPatience;
    ChangePatience(delta);
    if (int32_t(before / 10) != int32_t(mPatience / 10) && mPatience < 99.0f)
        SetAnim(mPatience < level.patience_r_level ? kPatienceAngry : kPatienceContent, true, false);
    if (mPatience < 0.0001f) {
        Pay(-params.client_losses_money);
        screen.LoseDayLife();
        PlayOfficeSample("client_negativ");
        mState = kLeaving;
        mPatience = 0;
        return;
    }
    if (mPatience < params.client_scandal_level) {
        mScandalTimer += gFrameDelta;
        if (mScandalTimer >= params.client_scandal_timeout) {
            PlayOfficeSample("client_scandal");
            SetAnim(kScandal, true, true);
            SpreadScandal(-level.scandal_effect);
            mScandalTimer = 0;
            mScandalShown = true;
        }
    } else {
        mScandalTimer = params.client_scandal_timeout;
    }
}

bool Client::Interact(SceneObject* other, bool test, int* word)
{
    if (!other || !mParams || !HasOfficeWorld())
        return false;
    OfficeScreenInterface& screen = GetOfficeScreenInterface();
    if (other->GetName() == "boss") {
        if (mState == kWaitingForBoss) {
            if (test) {
                if (word)
                    *word = 0;
            } else {
                mTimer = 0;
                mState = kDeciding;
                screen.SendTutorialEvent(3);
                screen.AdvanceRushBonus(kRushSuccess, this);
            }
            return true;
        }
        if ((mState == kOrdered || mState == kWaitingForOrder) && other->GetItem() == GetItem()) {
            if (test) {
                if (word)
                    *word = 1;
            } else {
                if (mWaitedTime < Level().service_timeout)
                    ChangePatience(mParams->client_service_effect);
                mState = kServed;
                screen.AdvanceRushBonus(kRushSuccess, this);
            }
            return true;
        }
        screen.AdvanceRushBonus(kRushFailure, this);
        return false;
    }
    if (other->GetName() == "secretary" && other->GetItem() == "coffe_cup" && mState != kVipCalling) {
        if (!test) {
            mAnimLocked = false;
            SetAnim(kDrinkCoffee, true, false);
            PlayOfficeSample("hp_up_coffee");
            ChangePatience(mParams->client_coffee_effect);
        }
        return true;
    }
    return false;
}

void Client::OnMouseMove(const Zelk::Point& point, bool hit)
{
    Pickable::OnMouseMove(point, hit);
    if (hit && !mHovered && IsActive() && IsVisible())
        SetAnim(kGratitude, true, true);
    mHovered = hit;
}

void Client::OnAnimationEnd(ObjectPart* part, const std::string& name)
{
    if (part && mCurrentAnim >= 0 && mCurrentAnim < kAnimCount && part->GetAnimationName() == kAnimNames[mCurrentAnim])
        mAnimLocked = false;
    if (name == "scandal")
        mScandalShown = false;
}

bool Client::IsStatusShown() const
{
    return IsActive() && (mState == kJustArrived || mState == kWaitingForBoss || mState == kWaitingForOrder);
}

bool Client::CheckOrder() const { return !GetItem().empty() && gBoss && GetItem() == gBoss->GetItem(); }

bool Client::GetMeterValue(float* value) const
{
    if (!IsActive() || mState == kLeaving)
        return false;
    if (mState == kVipCalling) {
        const float ring = HasOfficeWorld() ? Level().ring_timeout : 0;
        *value = ring > 0 ? (ring - mTimer) / ring * 100.0f : 0;
        return false;
    }
    *value = mPatience;
    return true;
}

bool Client::GetBubbleContent(bool* last, std::string* word) const
{
    if (!IsActive())
        return false;
    if (last)
        *last = mOrders.size() <= 1 || int64_t(mOrders.size()) - mOrderIndex <= 1;
    if (mState == kWaitingForBoss || mState == kWaitingForOrder) {
        *word = mScandalShown ? "scandal" : (mState == kWaitingForBoss ? "ready" : GetItem());
        return true;
    }
    if (mScandalShown) {
        *word = "scandal";
        return true;
    }
    return false;
}

bool SpawnClient(const std::string& type, bool vip, int place, const std::vector<std::string>& orders)
{
    if (!HasOfficeWorld() || !GetOfficeWorld().clientParams.count(type))
        return false;
    Client* client = GetClient(place);
    if (!client)
        return false;
    GetOfficeScreenInterface().SendTutorialEvent(1);
    client->Spawn(type, vip, orders);
    return true;
}

Client* FindClientByName(const std::string& text)
{
    if (!HasOfficeWorld())
        return nullptr;
    Client* best = nullptr;
    for (Client* client : GetOfficeWorld().clientSlots) {
        if (!client)
            continue;
        const std::string& name = client->GetName();
        if (text.compare(0, name.size(), name) == 0 && (!best || name.size() > best->GetName().size()))
            best = client;
    }
    return best;
}

void GivePresentationToClients()
{
    if (!HasOfficeWorld())
        return;
    for (Client* client : GetOfficeWorld().clientSlots)
        if (client && client->IsActive() && client->GetState() != Client::kVipCalling)
            client->OnPresentation();
}
