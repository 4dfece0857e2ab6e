#include "game/world/Client.h"

#include "game/world/OfficeScreenInterface.h"
#include "game/world/OfficeWorld.h"

#include <cstdlib>

Client::~Client() { ForgetClient(this); }

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
    SetActiveFlag(false);
    mState = kPlaceFree;
}

void Client::Spawn(const std::string& type, bool vip, const std::vector<std::string>& orders)
{
    mTypeName = type;
    mVip = vip;
    mOrders = orders;
    mState = vip ? kVipCalling : kJustArrived;
    SetActive(true);
    if (!vip)
        SetVisible(true);
}

bool Client::IsStatusShown() const
{
    return IsActive() && (mState == kJustArrived || mState == kWaitingForBoss || mState == kWaitingForOrder);
}

bool SpawnClient(const std::string& type, bool vip, int place, const std::vector<std::string>& orders)
{
    if (!HasOfficeWorld() || !GetOfficeWorld().clientParams.count(type))
        return false;
    GetOfficeScreenInterface().SendTutorialEvent(1);
    if (Client* client = GetClient(place))
        client->Spawn(type, vip, orders);
    return true;
}
