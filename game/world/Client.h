#pragma once
// A customer at a client place. It registers at the place its name numbers
// ("client03" sits at place 2) and is brought in by SpawnClient with its
// type and orders. It waits for the boss, decides, waits for each product
// while its patience falls, pays by how patient it still is, and leaves;
// impatient clients make scandals, an exhausted one costs money and (in
// survival) a life. A VIP calls on the phone first and shows only when the
// boss answers.
#include "game/world/ClientParams.h"
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
    static constexpr int32_t kDeciding = 2;
    static constexpr int32_t kOrdered = 3;
    static constexpr int32_t kWaitingForOrder = 4;
    static constexpr int32_t kServed = 5;
    static constexpr int32_t kPaying = 6;
    static constexpr int32_t kLeaving = 7;
    static constexpr int32_t kVipCalling = 9;
    static constexpr int32_t kPlaceFree = 10;

    // The client animations by index.
    enum Anim {
        kIdleGreen,
        kIdleYellow,
        kIdleRed,
        kIdleThinking,
        kPresentationReaction,
        kDrinkCoffee,
        kPatienceContent,
        kPatienceAngry,
        kGratitude,
        kScandal,
        kAnimCount
    };
    static const char* const kAnimNames[kAnimCount];

    ~Client() override;

    // Nothing when already so. Off: hidden, params forgotten, place free,
    // no order.
    void SetActive(bool on) override;
    void OnMouseMove(const Zelk::Point& point, bool hit) override;
    // The object element, then the client enters the place table at the
    // number after the first "0" of its name, minus one (0..7 only).
    void Load(const XmlNode& node) override;
    // Never spawned again.
    void Reset() override;
    // Hidden, its place free, until a client is brought in.
    void ApplyLevelState(const XmlNode& node) override;
    // The state machine and the patience (nothing without params).
    void Update() override;
    bool Interact(SceneObject* other, bool test, int* word) override;
    void OnAnimationEnd(ObjectPart* part, const std::string& name) override;

    // The state number (-1 never spawned, 0 just arrived, 9 a VIP calling,
    // 10 place free).
    virtual int32_t GetState() const { return mState; }
    // Brought in: type, params, VIP flag and orders taken, switched on;
    // shown unless a VIP (whose call rings the phone).
    virtual void Spawn(const std::string& type, bool vip, const std::vector<std::string>& orders);

    bool IsStatusShown() const override;
    bool IsHovered() const override { return mHovered; }
    bool CheckOrder() const override;
    bool GetMeterValue(float* value) const override;
    bool GetBubbleContent(bool* last, std::string* word) const override;
    bool GetProduct(std::string*) const override { return false; }

    void SetAnim(int32_t index, bool lock, bool force);
    void ShowIdleByPatience();
    bool StartLook();
    // Only while the tutorial allows action 1; kept within 0..100.
    void ChangePatience(float delta);
    // Shown over the client and added to the day's money, truncated (and
    // saturated) to an int.
    void Pay(float amount);
    bool NextOrder();
    void EndVipRing();
    void OnPresentation();
    // Every other active client not calling loses (or gains) the patience.
    void SpreadScandal(float delta);

    const std::string& GetTypeName() const { return mTypeName; }
    bool IsVip() const { return mVip; }
    const std::vector<std::string>& GetOrders() const { return mOrders; }
    const ClientParams* GetParams() const { return mParams; }
    float GetPatience() const { return mPatience; }
    void SetPatience(float patience) { mPatience = patience; }
    float GetWaitedTime() const { return mWaitedTime; }
    bool IsScandalShown() const { return mScandalShown; }
    int32_t GetCurrentAnim() const { return mCurrentAnim; }

    // The place index a client's name gives (-1 when its number is missing).
    static int PlaceIndexOf(const std::string& name);

protected:
    int32_t mState = kNeverSpawned;
    std::string mTypeName;
    bool mVip = false;
    std::vector<std::string> mOrders;

private:
    const ClientParams* mParams = nullptr;
    int32_t mOrderIndex = -1;
    float mWaitedTime = 0;
    float mTimer = 0;
    float mPatience = 100.0f;
    bool mScandalShown = false;
    float mScandalTimer = 0;
    int32_t mCurrentAnim = -1;
    bool mAnimLocked = false;
    bool mHovered = false;
};

// Brings a client of the type in at the place: false when the office has no
// such client type or the place no client. The tutorial hears event 1 first.
bool SpawnClient(const std::string& type, bool vip, int place, const std::vector<std::string>& orders);
// The client with the longest name that begins the text ("client03_hp"
// finds "client03"), or null.
Client* FindClientByName(const std::string& text);
// Every active client not calling gets the presentation.
void GivePresentationToClients();
