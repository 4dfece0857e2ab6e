#pragma once
// A customer at a client place. It registers at the place its name numbers
// ("client03" sits at place 2) and is brought in by SpawnClient with its
// type and orders.
#include "game/world/Pickable.h"
#include "game/world/StatusSource.h"

#include <cstdint>
#include <string>
#include <vector>

class Client : public Pickable, public StatusSource {
public:
    static constexpr int32_t kNeverSpawned = -1;
    static constexpr int32_t kJustArrived = 0;
    static constexpr int32_t kWaitingForBoss = 1;
    static constexpr int32_t kWaitingForOrder = 4;
    static constexpr int32_t kVipCalling = 9;
    static constexpr int32_t kPlaceFree = 10;

    ~Client() override;

    // The object element, then the client enters the place table at the
    // number after the first "0" of its name, minus one.
    void Load(const XmlNode& node) override;
    // Never spawned again.
    void Reset() override;
    // Hidden, its place free, until a client is brought in.
    void ApplyLevelState(const XmlNode& node) override;

    // The state number (-1 never spawned, 0 just arrived, 9 a VIP calling,
    // 10 place free).
    virtual int32_t GetState() const { return mState; }
    // Brought in: type, VIP flag and orders taken, switched on; shown
    // unless a VIP (who calls first).
    virtual void Spawn(const std::string& type, bool vip, const std::vector<std::string>& orders);
    // Active, and just arrived, waiting for the boss or for its order.
    bool IsStatusShown() const override;

    const std::string& GetTypeName() const { return mTypeName; }
    bool IsVip() const { return mVip; }
    const std::vector<std::string>& GetOrders() const { return mOrders; }

    // The place index a client's name gives (-1 when its number is missing).
    static int PlaceIndexOf(const std::string& name);

protected:
    int32_t mState = kNeverSpawned;
    std::string mTypeName;
    bool mVip = false;
    std::vector<std::string> mOrders;
};

// Brings a client of the type in at the place: false when the office has no
// such client type. The tutorial hears event 1 first.
bool SpawnClient(const std::string& type, bool vip, int place, const std::vector<std::string>& orders);
